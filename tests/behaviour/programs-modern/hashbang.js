#!/usr/bin/env node
// A script whose first line is a hashbang: it is a comment only there.
const shebang = "#!/not/a/comment"
console.log(shebang, 6 / 2 /* after the hashbang line */)
