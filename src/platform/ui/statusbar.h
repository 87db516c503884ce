// A status bar: a row of text panels along the bottom of a window, each a
// fixed width but the last, which takes what is left.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/controls.h"

struct TStatusPanel {
  std::string Text;
  int Width = 50;
};

class TStatusBar : public TCustomControl {
  ZV_CLASS(TStatusBar)
public:
  explicit TStatusBar(TComponent* AOwner);

  int PanelCount() const { return static_cast<int>(FPanels.size()); }
  // Appends a panel and returns its index.
  int AddPanel(int Width, const std::string& Text = "");
  // Panel i (0-based); an index outside the panels raises EListError.
  const TStatusPanel& Panel(int i) const;
  void SetPanelText(int i, const std::string& Text);
  void SetPanelWidth(int i, int Width);

protected:
  void Paint() override;

private:
  std::vector<TStatusPanel> FPanels;
};
