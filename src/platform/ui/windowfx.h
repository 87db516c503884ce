// Window effects of the window system: the opacity and colour key of
// layered windows, the functions looked up by name as the platform's user
// module exports them, and the shell's icon for a file name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/ui/messages.h"

constexpr unsigned LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2;
constexpr unsigned ULW_COLORKEY = 0x1, ULW_ALPHA = 0x2, ULW_OPAQUE = 0x4;
constexpr int64_t WS_EX_LAYERED = 0x80000;

// Alpha 255 is opaque; the colour key is kept but not shown (Qt cannot key
// a window's colour out). False for a handle that has no window.
bool SetLayeredWindowAttributes(HWND Window, TColor ColorKey, uint8_t Alpha, unsigned Flags);
// Moves and sizes the window when position and size are given, and takes
// the blend's constant alpha with ULW_ALPHA. The source canvas is not copied:
// windows here paint themselves.
bool UpdateLayeredWindow(HWND Window, TCanvas* DestDC, const TPoint* Position, const TSize* Size,
                         TCanvas* SourceDC, const TPoint* SourcePosition, TColor ColorKey,
                         const TBlendFunction* Blend, unsigned Flags);
// The alpha last given to the window (255 for a window never made layered).
uint8_t WindowOpacity(HWND Window);

// The user module's layered-window functions looked up by name, as callers
// that bind them at run time do: nil for any other name or while tests have
// made them unavailable.
using TUpdateLayeredWindowProc = bool (*)(HWND, TCanvas*, const TPoint*, const TSize*, TCanvas*, const TPoint*,
                                          TColor, const TBlendFunction*, unsigned);
using TSetLayeredWindowAttributesProc = bool (*)(HWND, TColor, uint8_t, unsigned);
// "UpdateLayeredWindow" is there only while translucent windows work.
void* GetUserProcAddress(const std::string& Name);
void SetLayeredWindowFunctionsAvailable(bool Available);

// Whether a window's opacity shows on this screen: an X display needs a
// compositing manager; the offscreen platform always keeps it. False while
// tests have made the layered-window functions unavailable.
bool TranslucentWindowsWork();

// Covers the window with Image drawn at Offset (window coordinates) in place
// of what the window paints itself, until called with a nil image: an
// animation shows a picture taken before the window appeared. The image is
// copied.
void SetWindowCoverImage(HWND Window, const TBitmap* Image, TPoint Offset);

// The shell's icon for a file name (an existing file or folder, or only a
// name whose extension picks the icon): 16 x 16 when Small, else 32 x 32.
// Never nil.
std::unique_ptr<TBitmap> ShellFileIcon(const std::string& FileName, bool Small);
int ShellIconSize(bool Small);
