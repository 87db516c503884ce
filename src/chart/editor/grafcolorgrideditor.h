// The colour grid series editor: grid lines, centring, smoothing, frame,
// grid steps and loading a picture into the grid; the grid editor as a
// "Grid 3D" tab.
#pragma once

#include "chart/editor/grafgried.h"
#include "chart/series/grafcolorgrid.h"

class TColorGridEditor : public TForm {
  ZV_CLASS(TColorGridEditor)
public:
  explicit TColorGridEditor(TComponent* AOwner);
  ~TColorGridEditor() override;

  // The biggest picture the grid takes: the grid size editor's range.
  static constexpr int MaxPictureSide = 1000;
  // Loads the picture file into the series (what "Load..." does after
  // asking for the file); a picture wider or taller than MaxPictureSide is
  // refused with a message and the series stays as it was.
  void LoadPictureFile(const std::string& FileName);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormDestroy(TObject* Sender);
  virtual void CBCenteredClick(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Button2Click(TObject* Sender);

  TButtonPen* BGrid;
  TCheckBox* CBCentered;
  TCheckBox* CBSmooth;
  TButtonPen* ButtonPen1;
  TGroupBox* GroupBox1;
  TLabel* Label1;
  TEdit* Edit2;
  TUpDown* UDX;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UDZ;
  TButton* Button2;

  TColorGridSeries* Series = nullptr;
  TGrid3DSeriesEditor* FGridForm = nullptr;
  TEditorTabs* FTabs;
  bool FLoading = false;
};

void RegisterColorGridEditorClasses();
