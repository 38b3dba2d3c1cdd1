// Farrowdale: the wizard that packs JavaScript files and HTML pages in three
// steps. It takes no arguments and always ends with exit code 0.
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <objbase.h>

#include "shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  CoInitialize(nullptr);  // the folder browser needs COM
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  wizard::SetProgramInstance(instance);
  const int code = wizard::Run(showCommand);
  CoUninitialize();
  return code;
}
