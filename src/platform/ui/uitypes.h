// Types shared by the controls: mouse buttons, shift states, alignment,
// anchors, bevels, and the names that colours, cursors and the drawing
// layer's enumerations stream under.
#pragma once

#include <functional>
#include <string>

#include "platform/dialogs.h"
#include "platform/gfx/colors.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/classes.h"

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TEnumSet<TShiftStateItem>;
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TEnumSet<TAnchorKind>;
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
// Border styles of forms; controls use bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
using TModalResult = int;
using TCaption = std::string;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
// Dragging controls within the program.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TDragMode { dmManual, dmAutomatic };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

bool SameIdent(const std::string& a, const std::string& b);

// Streaming names.
const TIdentMap& ColorIdents();   // "clRed", "clBtnFace", ...
const TIdentMap& CursorIdents();  // "crDefault", "crHandPoint", ...
bool CursorToIdent(TCursor cursor, std::string& ident);
bool IdentToCursor(const std::string& ident, TCursor& cursor);
const TEnumInfo& FontStylesEnumInfo();
const TEnumInfo& PenStyleEnumInfo();
const TEnumInfo& PenModeEnumInfo();
const TEnumInfo& BrushStyleEnumInfo();
const TEnumInfo& AlignEnumInfo();
const TEnumInfo& AnchorsEnumInfo();
const TEnumInfo& BevelCutEnumInfo();
const TEnumInfo& AlignmentEnumInfo();
const TEnumInfo& BorderStyleEnumInfo();
const TEnumInfo& MouseButtonEnumInfo();
const TEnumInfo& ShiftStateEnumInfo();
