// The image tool's editor: the series the picture is drawn behind, and the
// picture itself (browse for one, clear it, save it).
#pragma once

#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/radio.h"

class TChartImageTool;

class TChartImageToolEditor : public TSeriesToolEditor {
  ZV_CLASS(TChartImageToolEditor)
public:
  explicit TChartImageToolEditor(TComponent* AOwner);
  TChartImageTool* ImageTool() const;

  TGroupBox* GroupBox2;
  TImage* Image1;
  TButton* Button1;
  TButton* BSave;

protected:
  void FormShow(TObject* Sender) override;

private:
  // "Clea&r" while the tool holds a picture, "B&rowse..." otherwise.
  void RefreshButtons();
};

// The save dialog's filter for a graphic: only the formats that write its
// class.
std::string GraphicFilterOfClass(const std::string& ClassName);
