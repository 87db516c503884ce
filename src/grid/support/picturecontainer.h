// Pictures of the mini-HTML renderer: THTMLPicture keeps the raw bytes of a
// picture file of any format the window system reads and draws the decoded
// pixels, one frame of an animated GIF at a time; the picture container
// holds named pictures on a form; the picture cache holds pictures loaded on
// demand from "RES://" and "FILE://" sources.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/classes.h"

class THTMLPicture : public TGraphic {
public:
  THTMLPicture();
  ~THTMLPicture() override;
  std::string ClassName() const override { return "THTMLPicture"; }

  bool Empty() const override { return FEmpty; }
  // The decoded picture's size in pixels; 0 without one.
  int Width() const override;
  int Height() const override;
  void SetWidth(int) override {}
  void SetHeight(int) override {}

  // Resets the picture (empty, frame 1) and copies another THTMLPicture's
  // bytes; nil clears; other sources are ignored.
  void Assign(const TGraphic* source) override;
  // The stream's bytes become the data and are decoded. Bytes that do not
  // decode raise Exception "Could not load image. Invalid format" and leave
  // the picture as it was.
  void LoadFromStream(TStream& stream) override;
  // The same from a file; every error leaves the picture empty and is swallowed.
  void LoadFromFile(const std::string& fileName) override;
  // The bytes the picture was loaded from.
  void SaveToStream(TStream& stream) const override;
  void ReadData(TStream& stream) override;
  void WriteData(TStream& stream) const override;
  // Stretch: into the whole rectangle; else at its size at the top-left.
  void Draw(TCanvas* canvas, const TRect& rect) override;

  // Loads from "RES://name" (a data resource of the program), "FILE://name";
  // other sources are kept as a download address and stay empty.
  void LoadFromLocation(const std::string& Source);
  void LoadFromResource(const std::string& Name);

  const std::vector<uint8_t>& Data() const { return FData; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  // The GIF frame shown, from 1; setting it decodes again and fires OnFrameChange.
  int Frame() const { return FFrame; }
  void SetFrame(int v);
  // The number of GIF frames (-1 when the data is not a GIF), counted once.
  int CountFrames();
  int FrameXPos() const { return FFrameX; }
  int FrameYPos() const { return FFrameY; }
  int FrameWidth() const { return FFrameW; }
  int FrameHeight() const { return FFrameH; }
  // The animation's logical screen, or the picture's size when not animated.
  int AnimationWidth() const { return FAnimW ? FAnimW : Width(); }
  int AnimationHeight() const { return FAnimH ? FAnimH : Height(); }
  const std::string& ID() const { return FID; }
  const std::string& DownloadURL() const { return FURL; }
  bool Asynchronous() const { return FAsynchronous; }
  void SetAsynchronous(bool v) { FAsynchronous = v; }
  bool DownloadBusy() const { return FBusy; }
  TBitmap* Decoded() const { return FDecoded.get(); }

  TNotifyEvent OnFrameChange;
  TNotifyEvent OnDownLoadProgress, OnDownLoadCancel, OnDownLoadComplete, OnDownLoadError;

  // The positions of the frame starts of GIF bytes: a 4-byte graphic
  // control extension directly followed by an image descriptor.
  static std::vector<size_t> GIFFrameStarts(const std::vector<uint8_t>& Data);
  static bool IsGIF(const std::vector<uint8_t>& Data);

private:
  void DecodePicture();
  void Reset();

  std::vector<uint8_t> FData;
  bool FEmpty = true;
  std::unique_ptr<TBitmap> FDecoded;
  bool FStretch = false;
  int FFrame = 1;
  int FFrameCount = -1;
  uint16_t FFrameX = 0, FFrameY = 0, FFrameW = 0, FFrameH = 0, FAnimW = 0, FAnimH = 0;
  std::string FID, FURL;
  bool FAsynchronous = true, FBusy = false;
};

class TPictureItem : public TCollectionItem {
  ZV_CLASS(TPictureItem)
public:
  explicit TPictureItem(TCollection* Collection);
  ~TPictureItem() override;
  void Assign(TPersistent* Source) override;
  THTMLPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const THTMLPicture* v);
  const std::string& Name() const { return FName; }
  void SetName(const std::string& v) { FName = v; }
  int Tag() const { return FTag; }
  void SetTag(int v) { FTag = v; }

private:
  std::unique_ptr<THTMLPicture> FPicture;
  std::string FName;
  int FTag = 0;
};

class TPictureCollection : public TOwnedCollection {
  ZV_CLASS(TPictureCollection)
public:
  explicit TPictureCollection(TPersistent* AOwner);
  TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
  TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
};

class TPictureContainer : public TComponent {
  ZV_CLASS(TPictureContainer)
public:
  explicit TPictureContainer(TComponent* AOwner);
  ~TPictureContainer() override;
  TPictureCollection* Items() const { return FItems.get(); }
  void SetItems(TPictureCollection* v);
  std::string Version() const;  // "1.0.0.0"
  void SetVersion(const std::string&) {}
  // The picture of the first item of that name (without regard to case); nil when none.
  virtual THTMLPicture* FindByName(const std::string& Name) const;

private:
  std::unique_ptr<TPictureCollection> FItems;
};

// Pictures loaded on demand, owned by the cache.
class THTMLPictureCache : public TObject {
public:
  THTMLPicture* NewPicture();
  // The first picture whose ID is exactly the text; nil when none.
  THTMLPicture* FindBySource(const std::string& ID) const;
  THTMLPicture* PictureAt(int Index) const { return FItems.at(static_cast<size_t>(Index)).get(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  void Clear() { FItems.clear(); }

private:
  std::vector<std::unique_ptr<THTMLPicture>> FItems;
};
