// The content of a rich hint: a title, lines of notes, a picture and a help flag.
#pragma once

#include <memory>
#include <string>

#include "grid/support/gdipicture.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"

class TPlusHintInfo : public TPersistent {
  ZV_CLASS(TPlusHintInfo)
public:
  TPlusHintInfo();
  ~TPlusHintInfo() override;
  // Copies title, notes (as lines), ShowHelp, picture and the wide texts
  // from another hint; other sources are ignored.
  void Assign(TPersistent* Source) override;
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  TStringList* Notes() const { return FNotes.get(); }
  void SetNotes(const TStrings* v) { FNotes->Assign(*v); }
  TGDIPPicture* Picture() const { return FPicture.get(); }
  void SetPicture(const TGDIPPicture* v) { FPicture->Assign(v); }
  bool ShowHelp() const { return FShowHelp; }
  void SetShowHelp(bool v) { FShowHelp = v; }
  // The wide-character title and notes (UTF-8 here, as all text).
  std::string WideTitle;
  std::string WideNotes;

private:
  std::string FTitle;
  std::unique_ptr<TStringList> FNotes;
  std::unique_ptr<TGDIPPicture> FPicture;
  bool FShowHelp = false;
};
