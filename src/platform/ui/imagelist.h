// Image lists: pictures of one size, drawn by index enabled or greyed, and
// change links through which clients hear of every change to the list.
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/ui/classes.h"

class TCustomImageList;

// A client's registration with an image list. Change calls OnChange with
// the list; a link freed while registered unregisters itself.
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

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // A new size empties the list (images of another size cannot stay).
  void SetWidth(int v) { SetSize(v, FHeight); }
  void SetHeight(int v) { SetSize(FWidth, v); }
  void SetSize(int w, int h);
  int Count() const { return static_cast<int>(FImages.size()); }

  // Adds the picture cut into Width-wide images (one image when it is not
  // wider); transparent where the picture has MaskColor (clNone: opaque).
  // Returns the index of the first image added.
  int Add(TBitmap* Image, TColor MaskColor = clNone);
  void Delete(int Index);
  void Clear();
  // The image's pixels (32-bit, alpha 0 where transparent); nil outside.
  TBitmap* Image(int Index) const;
  // Draws one image at (X, Y); disabled images are drawn as a flat grey
  // shape with a white highlight below right, as greyed buttons show them.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true) const;

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  TNotifyEvent OnChange;

protected:
  void Change();

private:
  int FWidth = 16, FHeight = 16;
  std::vector<std::unique_ptr<TBitmap>> FImages;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
  ZV_CLASS(TImageList)
public:
  using TCustomImageList::TCustomImageList;
};
