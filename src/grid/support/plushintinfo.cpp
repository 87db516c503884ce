#include "grid/support/plushintinfo.h"

ZV_CLASS_IMPL(TPlusHintInfo, TPersistent)

void TPlusHintInfo::DeclareProperties(TClassInfo& c) {
  c.String<TPlusHintInfo>("Title", &TPlusHintInfo::Title, &TPlusHintInfo::SetTitle, std::string());
  c.Boolean<TPlusHintInfo>("ShowHelp", &TPlusHintInfo::ShowHelp, &TPlusHintInfo::SetShowHelp, false);
}

TPlusHintInfo::TPlusHintInfo()
    : FNotes(std::make_unique<TStringList>()), FPicture(std::make_unique<TGDIPPicture>()) {}
TPlusHintInfo::~TPlusHintInfo() = default;

void TPlusHintInfo::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPlusHintInfo*>(Source);
  if (!s) return;
  FTitle = s->FTitle;
  FNotes->Assign(*s->FNotes);
  FShowHelp = s->FShowHelp;
  FPicture->Assign(s->FPicture.get());
  WideTitle = s->WideTitle;
  WideNotes = s->WideNotes;
}
