// Small lists the string grid keeps: integer lists bound to a cell with a
// change event (selected rows, row marks, column order, ...), the list of sort
// columns with their directions, and the list of controls placed over cells.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

using TIntListChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;

class TIntList : public TObject {
public:
  TIntList(int ACol, int ARow) : FCol(ACol), FRow(ARow) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  int Col() const { return FCol; }
  int Row() const { return FRow; }
  // Indexes outside the list raise EListError.
  int GetItem(int Index) const;
  void SetItem(int Index, int Value);  // fires OnChange
  void AddValue(int Value);             // fires OnChange
  void InsertValue(int Index, int Value);
  void DeleteIndex(int Index);  // fires OnChange
  // Deletes the first occurrence (no event); nothing when absent.
  void DeleteValue(int Value);
  bool HasValue(int Value) const;
  void Clear() { FItems.clear(); }
  std::string GetCommaText() const;
  // Clears, then adds each item (one change event per item); a bad number
  // raises EConvertError after the items before it were added.
  void SetCommaText(const std::string& Text);
  TIntListChangeEvent OnChange;

private:
  void Changed();
  void Check(int Index) const;
  std::vector<int> FItems;
  int FCol, FRow;
};

// Sort columns: the column index with bit 31 set for a descending sort.
class TSortIndexList : public TIntList {
public:
  TSortIndexList() : TIntList(-1, -1) {}
  static constexpr uint32_t DescendingBit = 0x80000000u;
  void AddIndex(int ACol, bool Ascending);
  int FindIndex(int ACol) const;  // -1 when the column is not in the list
  int GetSortColumn(int Index) const;
  bool Ascending(int Index) const;
  void ToggleDirection(int ACol);  // fires OnChange; nothing when absent
};

// A control the grid places over a cell.
struct TControlItem {
  int Col = 0, Row = 0;
  TControl* Control = nullptr;
};

// Owns its entries (not the controls, which belong to their owner).
class TControlList : public TObject {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TControlItem* GetControl(int Index) const;
  TControlItem* Add(int ACol, int ARow, TControl* AControl);
  void Delete(int Index);
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<TControlItem>> FItems;
};

// ---- Grid buttons and small grid objects

#include "platform/gfx/bitmap.h"
#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/menus.h"

class TCustomImageList;

// A picture referenced by file name; its size is read when the name is set.
class TFilePicture : public TPersistent {
  ZV_CLASS(TFilePicture)
public:
  TFilePicture() = default;
  void Assign(TPersistent* Source) override;
  const std::string& Filename() const { return FFilename; }
  // Loads the file to read its size; loading errors propagate.
  void SetFilename(const std::string& v);
  // The name and size as given, without opening the file (a streamed copy).
  void SetReference(const std::string& Name, int AWidth, int AHeight) {
    FFilename = Name;
    FWidth = AWidth;
    FHeight = AHeight;
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetWidth(int v) { FWidth = v; }
  void SetHeight(int v) { FHeight = v; }
  // Loads the file again and stretches it into R; nothing without a name.
  void Draw(TCanvas* Canvas, const TRect& R);

private:
  std::string FFilename;
  int FWidth = 0, FHeight = 0;
};

// The arrow-shaped marker shown while columns or rows are dragged:
// direction 0 up, 1 down, 2 right, 3 left.
class TArrowWindow : public TCustomPanel {
  ZV_CLASS(TArrowWindow)
public:
  TArrowWindow(TComponent* AOwner, int Direction);
  explicit TArrowWindow(TComponent* AOwner) : TArrowWindow(AOwner, 0) {}
  int Direction() const { return FDirection; }
  // The 7 points of the arrow's shape in window pixels.
  static std::vector<TPoint> ArrowPoints(int Direction);

protected:
  void CreateWnd() override;
  void Paint() override;

private:
  int FDirection;
};

// A small top-most pop-up window with a gradient and a caption (HTML when
// it holds "</").
class TPopupButton : public TCustomControl {
  ZV_CLASS(TPopupButton)
public:
  explicit TPopupButton(TComponent* AOwner);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  TColor GradFrom() const { return FGradFrom; }
  void SetGradFrom(TColor v);
  TColor GradTo() const { return FGradTo; }
  void SetGradTo(TColor v);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* v) { FImages = v; }

protected:
  void Paint() override;

private:
  std::string FCaption;
  bool FFlat = false;
  TColor FGradFrom = clNone, FGradTo = clNone;
  TCustomImageList* FImages = nullptr;
};

enum TPlusGridButtonStyle { tasButton, tasCheck };

// A speed button with per-state colours and gradients, glyphs per state, a
// drop-down part and colour sets that follow the colour scheme.
class TPlusGridButton : public TGraphicControl {
  ZV_CLASS(TPlusGridButton)
public:
  explicit TPlusGridButton(TComponent* AOwner);
  ~TPlusGridButton() override;

#define ZV_GB_PROP(Type, Name)          \
  Type Name() const { return F##Name; } \
  void Set##Name(Type v) {              \
    F##Name = v;                        \
    Invalidate();                       \
  }
  ZV_GB_PROP(TColor, Color)
  ZV_GB_PROP(TColor, ColorTo)
  ZV_GB_PROP(TColor, ColorHot)
  ZV_GB_PROP(TColor, ColorHotTo)
  ZV_GB_PROP(TColor, ColorDown)
  ZV_GB_PROP(TColor, ColorDownTo)
  ZV_GB_PROP(TColor, ColorChecked)
  ZV_GB_PROP(TColor, ColorCheckedTo)
  ZV_GB_PROP(TColor, BorderColor)
  ZV_GB_PROP(TColor, BorderHotColor)
  ZV_GB_PROP(TColor, BorderDownColor)
  ZV_GB_PROP(bool, Flat)
  ZV_GB_PROP(bool, Rounded)
  ZV_GB_PROP(bool, ShowCaption)
  ZV_GB_PROP(TPlusGridButtonStyle, Style)
  ZV_GB_PROP(TButtonLayout, Layout)
  ZV_GB_PROP(int, Spacing)
  ZV_GB_PROP(bool, DropDownButton)
  ZV_GB_PROP(bool, AutoXPStyle)
#undef ZV_GB_PROP
  bool Shaded() const { return FShaded; }
  void SetShaded(bool v);
  int Margin() const { return FMargin; }
  void SetMargin(int v);  // values below -1 are ignored
  bool Down() const { return FDown; }
  void SetDown(bool v);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
  void SetAutoThemeAdapt(bool v);
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* v);
  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& v) { SetText(v); }

  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap* v);  // also makes the disabled glyph when that is empty
  TBitmap* GlyphHot() const { return FGlyphHot.get(); }
  void SetGlyphHot(const TBitmap* v);
  TBitmap* GlyphDown() const { return FGlyphDown.get(); }
  void SetGlyphDown(const TBitmap* v);
  TBitmap* GlyphDisabled() const { return FGlyphDisabled.get(); }
  void SetGlyphDisabled(const TBitmap* v);
  TBitmap* GlyphShadow() const { return FGlyphShadow.get(); }

  TButtonState State() const { return FState; }
  bool Hot() const { return FHot; }
  // Takes the colour set of the current colour scheme (1 to 4).
  void ApplyColorSet(int Set);
  static int ColorSetForScheme(const std::string& SchemeName);
  void Click() override;

  TNotifyEvent OnDropDown;

protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void WMLButtonDblClk(TMessage& M) override;
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;
  void CMEnabledChanged(TMessage& M) override;
  void CMTextChanged(TMessage& M) override;
  void CMFontChanged(TMessage& M) override;
  void CMSysColorChange(TMessage& M) override;
  void WndProc(TMessage& M) override;

private:
  void ButtonPressed(int Group, TPlusGridButton* Sender);
  void MakeGlyphShadow();
  void MakeDisabledGlyph();
  void DrawGradient(TCanvas* C, TColor From, TColor To, TColor Border, const TRect& R);
  void DrawButtonContent(TCanvas* C, TRect R, TPoint Offset);

  TColor FColor = clBtnFace, FColorTo = clNone, FColorHot = 0xCAC7C7, FColorHotTo = clNone, FColorDown = 0xD8D3D2,
         FColorDownTo = clNone, FColorChecked = 0x808080, FColorCheckedTo = clNone, FBorderColor = clNone,
         FBorderHotColor = clNone, FBorderDownColor = clNone;
  bool FFlat = true, FRounded = false, FShaded = true, FShowCaption = true;
  TPlusGridButtonStyle FStyle = tasButton;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1, FSpacing = 4;
  bool FDropDownButton = false, FAutoXPStyle = false, FAutoThemeAdapt = false;
  bool FDown = false, FAllowAllUp = false;
  int FGroupIndex = 0;
  TPopupMenu* FDropDownMenu = nullptr;
  std::unique_ptr<TBitmap> FGlyph, FGlyphHot, FGlyphDown, FGlyphDisabled, FGlyphShadow;
  TButtonState FState = bsUp;
  bool FHot = false, FMouseInControl = false, FPressed = false;
};
