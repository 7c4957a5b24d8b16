#pragma once

// Our own stand-in of the modelling tool's help system: the window that shows
// context help and whether click-help mode (the next click asks for help) is
// on. Its four operations are inline, and every module that includes this
// header exports them, as the tool's own interface headers make them do; a
// plug-in adds nothing to them.

#include "maxplugin/sdk/MaxTypes.h"

// Emits an inline operation in every module and exports it, whatever the
// module's default visibility.
#define MAXSDK_EXPORTED_INLINE __attribute__((used, visibility("default")))

class HelpSys {
 public:
  constexpr HelpSys() = default;
  constexpr HelpSys(ToolWindow* helpWindow, int clickHelp)
      : helpWindow(helpWindow), clickHelp(clickHelp) {}
  constexpr HelpSys(const HelpSys&) = default;

  MAXSDK_EXPORTED_INLINE HelpSys& operator=(const HelpSys& other) {
    helpWindow = other.helpWindow;
    clickHelp = other.clickHelp;
    return *this;
  }
  // Non-zero while click-help mode is on.
  MAXSDK_EXPORTED_INLINE int getClickHelp() const { return clickHelp; }
  MAXSDK_EXPORTED_INLINE ToolWindow* getHelpHWnd() const { return helpWindow; }
  MAXSDK_EXPORTED_INLINE void setHelpHWnd(ToolWindow* window) { helpWindow = window; }

 private:
  ToolWindow* helpWindow = nullptr;
  int clickHelp = 0;
};
