// The gradient editor: seventeen named presets with a preview, buttons for
// the start, middle and end colours, balance and radial offsets, and a
// gallery of the ten directions. It runs as a modal dialog, or embedded as a
// page of another editor, and edits its gradient in place. Also the gradient
// button that editor pages put next to a gradient.
#pragma once

#include <memory>

#include "chart/core/grafattrs.h"
#include "chart/core/grafeditctrls.h"
#include "chart/core/grafpanel.h"
#include "chart/editor/grafgallerypanel.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

// A panel that draws nothing but its own background: its gradient.
class TPreviewGradient : public TCustomGrafPanelExtended {
  ZV_CLASS(TPreviewGradient)
public:
  explicit TPreviewGradient(TComponent* AOwner);
  void DrawChartContents(const TRect& Bounds) override;
};

// A colour button of a gradient colour (whatever the gradient's class
// publishes).
class TGradientColorButton : public TButtonColor {
  ZV_CLASS(TGradientColorButton)
public:
  explicit TGradientColorButton(TComponent* AOwner) : TButtonColor(AOwner) {}
  std::function<void(TColor)> OnSetColor;
  void Click() override;
};

struct TGradientPreset {
  const char* Name;
  TColor Start;
  TColor Middle;  // clNone: no middle colour
  TColor End;
  int Balance;
  TGradientDirection Direction;
};
// The presets by number (the list shows them sorted by name).
const TGradientPreset& GradientPreset(int Number);
constexpr int GradientPresetCount = 17;

class TGrafGradientEditor : public TForm {
  ZV_CLASS(TGrafGradientEditor)
public:
  explicit TGrafGradientEditor(TComponent* AOwner);
  // Embedded in a host page: no OK and Cancel panel, the form shorter by the
  // height of the OK button.
  TGrafGradientEditor(TComponent* AOwner, TCustomGrafGradient* Gradient);
  ~TGrafGradientEditor() override;

  // ---- New virtual operations, in slot order ----
  virtual void LoadControls();
  virtual void RefreshPreview();
  // Points the editor at another gradient (nil binds nothing).
  virtual void BindGradient(TCustomGrafGradient* Gradient);

  TCustomGrafGradient* TheGradient = nullptr;
  // The gradient's end colour belongs to its owner (a bar or pipe series).
  bool OwnerColorMode() const { return FOwnerColor; }
  void SetOwnerColorMode(bool Value);
  bool Modified() const { return FModified; }
  TPreviewGradient* Preview() const { return FPreview; }
  TChartGalleryPanel* DirectionGallery() const { return Directions; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void CBDirectionChange(TObject* Sender);
  virtual void DirectionsChangeChart(TObject* Sender);
  virtual void BStartClick(TObject* Sender);
  virtual void BMidClick(TObject* Sender);
  virtual void BEndClick(TObject* Sender);
  virtual void CBMidClick(TObject* Sender);
  virtual void BSwapClick(TObject* Sender);
  virtual void SBBalanceChange(TObject* Sender);
  virtual void TrackBar1Change(TObject* Sender);
  virtual void TrackBar2Change(TObject* Sender);
  virtual void GalleryClick(TObject* Sender);
  virtual void BCancelClick(TObject* Sender);

  void BuildControls();
  void EnableColors();
  void EnableDirections();
  // The back walls of the direction miniatures take the gradient's colours.
  void RecolorDirections();

  TPanel* Panel2;
  TCheckBox* CBVisible;
  TLabel* Label1;
  TComboFlat* CBDirection;
  TPageControl* PageControl1;
  TTabSheet* TabSheet3;
  TListBox* Gallery;
  TTabSheet* TabSheet1;
  TGradientColorButton* BStart;
  TGradientColorButton* BMid;
  TGradientColorButton* BEnd;
  TCheckBox* CBMid;
  TButton* BSwap;
  TTabSheet* TabSheet2;
  TLabel* Label4;
  TScrollBar* SBBalance;
  TLabel* LabelBalance;
  TGroupBox* GroupBox2;
  TLabel* Label2;
  TTrackBar* TrackBar1;
  TLabel* LRadialX;
  TLabel* Label3;
  TTrackBar* TrackBar2;
  TLabel* LRadialY;
  TTabSheet* TabSheet4;
  TChartGalleryPanel* Directions;
  TPanel* Panel1;
  TButton* BOk;
  TButton* BCancel;

  TPreviewGradient* FPreview = nullptr;
  std::unique_ptr<TGrafGradient> FBackup;
  bool FModified = false;
  bool FLoading = false;
  bool FOwnerColor = false;

  friend TGrafGradientEditor* CreateGradientEditor(TComponent*, TCustomGrafGradient*, bool, bool);
};

// A gradient editor dialog owned by the control's form (the end-colour and
// swap buttons hidden in owner-colour mode, the "Visible" box on request).
TGrafGradientEditor* CreateGradientEditor(TComponent* Owner, TCustomGrafGradient* Gradient, bool OwnerColor,
                                          bool HideVisible);
// Runs it modally and frees it; true on OK.
bool RunGradientEditor(TComponent* Owner, TCustomGrafGradient* Gradient, bool OwnerColor, bool HideVisible);

class TButtonGradient : public TGrafButton {
  ZV_CLASS(TButtonGradient)
public:
  explicit TButtonGradient(TComponent* AOwner) : TGrafButton(AOwner) {}

  void LinkGradient(TCustomGrafGradient* Gradient);
  TCustomGrafGradient* LinkedGradient() const { return dynamic_cast<TCustomGrafGradient*>(FLinkedObject); }
  // The editor runs in owner-colour mode.
  bool HideEndColor = false;
  TGrafGradientEditor* Editor() const { return FEditor; }

  void Click() override;
  void DrawSwatch(TGrafCanvas3D* Canvas) override;

private:
  TGrafGradientEditor* FEditor = nullptr;
  TNotifyEvent FOldDestroy;
};

void RegisterGradientEditorClasses();
