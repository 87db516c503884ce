// A progress bar: a bar filled from the left in proportion to Position
// between Min and Max.
#pragma once

#include "platform/ui/controls.h"

class TProgressBar : public TCustomControl {
  ZV_CLASS(TProgressBar)
public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return FMin; }
  int Max() const { return FMax; }
  // Max below Min is taken as Min.
  void SetRange(int AMin, int AMax);
  int Position() const { return FPosition; }
  // Kept inside Min .. Max.
  void SetPosition(int v);

protected:
  void Paint() override;

private:
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
};
