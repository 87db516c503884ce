// Dragging data between windows and programs: plain text, rich text, a grid
// column and files (offered as a URI list). A window registers a drop target
// and gets the dropped data decoded; a source starts the window system's drag
// loop with the data it offers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/controls.h"

constexpr int DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4;

// The formats a drag carries. Text is UTF-8.
struct TDragPayload {
  std::optional<std::string> Text;
  std::optional<std::string> RichText;
  std::optional<int> GridColumn;
  std::vector<std::string> Files;  // local file names
  bool Empty() const { return !Text && !RichText && !GridColumn && Files.empty(); }
};

// The payload as (MIME type, bytes) pairs, and back: "text/plain" (UTF-8),
// "text/rtf", "application/x-zelvora-grid-column" (the index as decimal
// text) and "text/uri-list" (file URLs, percent-encoded, CR LF after each).
// Decoding ignores URIs other than local file URLs, comment lines and
// malformed entries, and a column that is no number.
using TMimeParts = std::vector<std::pair<std::string, std::string>>;
TMimeParts EncodeDragPayload(const TDragPayload& Data);
TDragPayload DecodeDragPayload(const TMimeParts& Parts);
// One file URL and back ("" for anything that is no local file URL).
std::string FileNameToUri(const std::string& FileName);
std::string UriToFileName(const std::string& Uri);

// A window's side of a drop. Points are screen points; the answers are
// DROPEFFECT values (DROPEFFECT_NONE refuses).
class TDropTarget {
public:
  virtual ~TDropTarget() = default;
  virtual int DragEnter(const TDragPayload& Data, TPoint ScreenPos, TShiftState Keys, int Effects) = 0;
  virtual int DragOver(TPoint ScreenPos, TShiftState Keys, int Effects) = 0;
  virtual void DragLeave() = 0;
  virtual int Drop(const TDragPayload& Data, TPoint ScreenPos, TShiftState Keys, int Effects) = 0;
};

// The control's window accepts drops for Target (not owned) until revoked or
// destroyed; false when the window cannot be made.
bool RegisterDragDrop(TWinControl* Control, TDropTarget* Target);
void RevokeDragDrop(TWinControl* Control);
bool IsDropTarget(TWinControl* Control);

// Runs the window system's modal drag loop from Source with Data; the effect
// the target chose, DROPEFFECT_NONE when cancelled or refused.
int DoDragDrop(TWinControl* Source, const TDragPayload& Data, int AllowedEffects);
// Replaces the window system's drag loop (tests): gets what DoDragDrop got
// and answers the effect. An empty handler puts the window system back.
using TDragLoopHandler = std::function<int(TWinControl* Source, const TDragPayload& Data, int AllowedEffects)>;
TDragLoopHandler SetDragLoopHandler(TDragLoopHandler Handler);

// The effect of a drop from the keys held: Ctrl copies, else a move when
// offered, else a copy.
int DropEffectFromKeys(TShiftState Keys, int Effects);
