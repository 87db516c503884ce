// The edit box item: a text box in a toolbar or menu. Clicking it (or Enter
// on it) puts a real edit over the box until Enter, Tab or Esc ends the edit.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/stdctrls.h"
#include "toolbar/tbview.h"

class TTBEditItemViewer;

enum TTBEditItemOption { tboUseEditWhenVertical };
using TTBEditItemOptions = TEnumSet<TTBEditItemOption>;
using TTBAcceptTextEvent = std::function<void(TObject* Sender, std::string& NewText, bool& Accept)>;
using TTBBeginEditEvent = std::function<void(class TTBEditItem* Sender, TTBEditItemViewer* Viewer, TEdit* EditControl)>;

class TTBEditItem : public TTBCustomItem {
  ZV_CLASS(TTBEditItem)
public:
  explicit TTBEditItem(TComponent* AOwner);

  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase v);
  const std::string& EditCaption() const { return FEditCaption; }
  void SetEditCaption(const std::string& v);
  TTBEditItemOptions EditOptions() const { return FEditOptions; }
  void SetEditOptions(TTBEditItemOptions v);
  int EditWidth() const { return FEditWidth; }
  void SetEditWidth(int v);
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int v);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);
  TTBAcceptTextEvent OnAcceptText;
  TTBBeginEditEvent OnBeginEdit;

  TTBItemViewer* NewViewer(TTBView* AView, int AGroupLevel) override;
  bool NeedToRecreateViewer(TTBItemViewer* AViewer) override;
  virtual void DoBeginEdit(TTBEditItemViewer* Viewer);

private:
  bool UsesEditViewer(TTBView* View) const;
  TEditCharCase FCharCase = ecNormal;
  std::string FEditCaption;
  TTBEditItemOptions FEditOptions;
  int FEditWidth = 64;
  int FMaxLength = 0;
  std::string FText;
};

// Edit status bits.
constexpr uint8_t esEditing = 1, esMoveOn = 2, esClose = 4;

class TTBEditItemViewer : public TTBItemViewer {
public:
  using TTBItemViewer::TTBItemViewer;
  TTBEditItem* EditItem() const { return static_cast<TTBEditItem*>(Item); }
  void CalcSize(TCanvas* Canvas, int& AWidth, int& AHeight) override;
  bool DoExecute() override;
  int GetAccRole() override { return 42; }
  bool GetAccValue(std::string& Value) override {
    Value = EditItem()->Text();
    return true;
  }
  std::string GetCaptionText() const override { return EditItem()->EditCaption(); }
  void MouseDown(TShiftState Shift, int X, int Y, bool& MouseDownOnMenu) override;
  void MouseUp(int X, int Y, bool MouseWasDownOnMenu) override;
  void Paint(TCanvas* Canvas, const TRect& ClientAreaRect, bool IsSelected, bool IsPushed,
             bool UseDisabledShadow) override;
  bool UsesSameWidth() override { return false; }
  bool CaptionShown() override { return !IsToolbarStyle() && TTBItemViewer::CaptionShown(); }
  virtual TRect GetEditControlRect();
  uint8_t EditStatus() const { return FEditStatus; }
  TEdit* EditControl() const { return FEdit; }
  // The viewer whose edit runs now, nil when none.
  static TTBEditItemViewer* Editing();

private:
  bool RunEditControl();
  void AcceptEditText();
  void BeginEditFromMouse();
  TEdit* FEdit = nullptr;
  uint8_t FEditStatus = 0;
};
