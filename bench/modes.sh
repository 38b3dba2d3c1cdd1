# The three ways trimlet is measured, sourced by the benchmark's scripts:
# `mode_options MODE` sets the array `options` to that mode's command-line words.
modes=(ws rename full)
mode_options() {
  case "$1" in
    ws) options=(-nse -nvc) ;;
    rename) options=(-nse) ;;
    full) options=() ;;
  esac
}
