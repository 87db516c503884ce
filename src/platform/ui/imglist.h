// Image lists: pictures of one size kept side by side, drawn by index with
// their masks (a colour key, or the alpha of 32-bit pictures).
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/classes.h"

constexpr unsigned ILD_NORMAL = 0, ILD_TRANSPARENT = 1, ILD_MASK = 0x10;

class TCustomImageList;

// A client's registration with an image list: Change calls OnChange with the
// list after every change of it; a link freed while registered unregisters
// itself, and a list freed first lets go of its links.
class TChangeLink : public TObject {
public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* v) { FSender = v; }
  virtual void Change();
  TNotifyEvent OnChange;

private:
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
  ZV_CLASS(TCustomImageList)
public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  // Changing the size clears the list.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetWidth(int v);
  void SetHeight(int v);
  int Count() const { return static_cast<int>(FImages.size()); }
  // Adds the bitmap cut into pictures of the list's width (at least one);
  // the mask's black pixels are kept (nil: none masked). Returns the index
  // of the first picture added.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor are transparent (clDefault: the bottom-left pixel's colour).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear();
  // Draws picture Index with its transparency at (X, Y); a disabled picture
  // is drawn greyed. Nothing for an index outside the list.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // Copies picture Index into the bitmap (sized to the list, transparent
  // pixels in clBtnFace); false outside the list.
  bool GetBitmap(int Index, TBitmap* Image);
  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  TNotifyEvent OnChange;

private:
  void Changed();
  std::vector<TChangeLink*> FClients;
  int FWidth = 16, FHeight = 16;
  struct TImpl;
  std::vector<std::unique_ptr<TBitmap>> FImages;  // 32-bit with alpha
};

class TImageList : public TCustomImageList {
  ZV_CLASS(TImageList)
public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};
