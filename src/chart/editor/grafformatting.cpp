#include "chart/editor/grafformatting.h"

#include <algorithm>
#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/extctrls.h"

using namespace editorbuild;

namespace {

const char* const kGeoFormats[] = {"ddd\xC2\xB0 mm' ss\".zzz", "ddd mm' ss\".zzz", "ddd deg mm' ss\".zzz",
                                   "ddd mm' ss\".zzz",        "ddd mm ss.zzz",    "ddd mm ss",
                                   "ddd mm",                  "ddd\xC2\xB0",      "ddd"};

bool Contains(const std::string& s, const std::string& part) { return !part.empty() && s.find(part) != std::string::npos; }

void RemoveFirst(std::string& s, const std::string& part) {
  if (part.empty()) return;
  const size_t at = s.find(part);
  if (at != std::string::npos) s.erase(at, part.size());
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormatEditor, TForm)

TFormatEditor::TFormatEditor(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Numeric Format");
  SetClientWidth(274);
  SetClientHeight(269);
  SetPosition(poScreenCenter);
  SetBorderStyle(bsDialog);

  RBInteger = Make<TRadioButton>(this, this, "RBInteger", 8, 8, 90, 17, "&Number");
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 30, 33, 21);
  Edit1->SetText("0");
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 113, 30, 15, 21);
  UpDown1->SetMax(20);
  UpDown1->SetAssociate(Edit1);
  UpDown1->SetPosition(0);
  Label1 = MakeLabel(this, this, "Label1", 24, 34, "D&ecimals:", Edit1);
  CBFixedDecimals = Make<TCheckBox>(this, this, "CBFixedDecimals", 140, 32, 60, 17, "F&ixed");
  Edit2 = Make<TEdit>(this, this, "Edit2", 80, 56, 33, 21);
  Edit2->SetText("0");
  UpDown2 = Make<TUpDown>(this, this, "UpDown2", 113, 56, 15, 21);
  UpDown2->SetMax(20);
  UpDown2->SetAssociate(Edit2);
  UpDown2->SetPosition(0);
  Label2 = MakeLabel(this, this, "Label2", 24, 60, "&Fixed:", Edit2);
  CBPercent = Make<TCheckBox>(this, this, "CBPercent", 24, 84, 80, 17, "&Percent");
  CBThousands = Make<TCheckBox>(this, this, "CBThousands", 104, 84, 80, 17, "&Thousands");
  CBCurrency = Make<TCheckBox>(this, this, "CBCurrency", 188, 84, 80, 17, "C&urrency");
  RBDate = Make<TRadioButton>(this, this, "RBDate", 8, 112, 100, 17, "&Date Time:");
  CBDate = Make<TComboFlat>(this, this, "CBDate", 112, 110, 150, 21);
  CBDate->SetStyle(csDropDown);
  CBDate->SetEnabled(false);
  for (const char* f : {"mm-yyyy", "mm-dd-yy", "dd-mm-yyyy", "mmm", "ddd", "MM"}) CBDate->Items()->Add(f);
  RBCustom = Make<TRadioButton>(this, this, "RBCustom", 8, 142, 100, 17, "&Custom:");
  CBCustom = Make<TComboFlat>(this, this, "CBCustom", 112, 140, 150, 21);
  CBCustom->SetStyle(csDropDown);
  CBCustom->SetEnabled(false);
  RBGeo = Make<TRadioButton>(this, this, "RBGeo", 8, 172, 100, 17, "&Geographic:");
  CBGeo = Make<TComboFlat>(this, this, "CBGeo", 112, 170, 150, 21);
  CBGeo->SetStyle(csDropDown);
  CBGeo->SetEnabled(false);
  PanelOK = Make<TPanel>(this, this, "PanelOK", 0, 228, 274, 41);
  PanelOK->SetAlign(alBottom);
  PanelOK->SetBevelOuter(bvNone);
  Button1 = MakeOkButton(this, PanelOK, "Button1", 110, 8);
  Button2 = MakeCancelButton(this, PanelOK, "Button2", 190, 8);

  RBInteger->OnClick = [this](TObject* s) { RBIntegerClick(s); };
  for (TControl* c : std::initializer_list<TControl*>{RBDate, RBCustom, RBGeo, CBThousands, CBCurrency})
    c->OnClick = [this](TObject* s) { SharedClick(s); };
  CBPercent->OnClick = [this](TObject* s) { CBPercentClick(s); };
  CBDate->OnChange = [this](TObject* s) { CBDateChange(s); };
  CBCustom->OnChange = [this](TObject* s) { CBCustomChange(s); };
  CBGeo->OnChange = [this](TObject* s) { CBGeoChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormatEditor::FormCreate(TObject*) {
  for (const std::string& f : {FormatSettings.ShortDateFormat, FormatSettings.ShortTimeFormat})
    if (CBDate->Items()->IndexOf(f) < 0) CBDate->Items()->Add(f);
}

void TFormatEditor::AllowDateTime(bool Allow) {
  RBDate->SetVisible(Allow);
  CBDate->SetVisible(Allow);
}

void TFormatEditor::CheckSilently(TRadioButton* Button) {
  const bool loading = FLoading;
  FLoading = true;
  Button->SetChecked(true);
  FLoading = loading;
}

void TFormatEditor::FocusIfShowing(TWinControl* Control) {
  if (Control->CanFocus()) Control->SetFocus();
}

void TFormatEditor::FormShow(TObject*) {
  FLoading = true;
  CBCustom->Items()->Clear();
  CBCustom->Items()->Add("#.#");
  CBCustom->Items()->Add("0.0%");
  CBGeo->Items()->Clear();
  for (const char* f : kGeoFormats) CBGeo->Items()->Add(f);
  const std::string& format = TheFormat;
  if (CBDate->Items()->IndexOf(format) >= 0) {
    CBDate->SetEnabled(true);
    CBDate->SetText(format);
    FocusIfShowing(CBDate);
    CheckSilently(RBDate);
    FDate = true;
  } else if (CBGeo->Items()->IndexOf(format) >= 0) {
    CBGeo->SetEnabled(true);
    CBGeo->SetText(format);
    FocusIfShowing(CBGeo);
    CheckSilently(RBGeo);
    FGeo = true;
  } else {
    std::string w = format;
    CBPercent->SetChecked(Contains(w, "%"));
    CBPercentClick(CBPercent);
    RemoveFirst(w, "%");
    CBCurrency->SetChecked(Contains(w, FormatSettings.CurrencyString));
    RemoveFirst(w, FormatSettings.CurrencyString);
    const std::string thousands(1, FormatSettings.ThousandSeparator);
    CBThousands->SetChecked(Contains(w, thousands));
    RemoveFirst(w, thousands);
    const size_t point = w.find(FormatSettings.DecimalSeparator);
    if (point != std::string::npos) {
      CheckSilently(RBInteger);
      size_t n = 0;
      while (point + 1 + n < w.size() && (w[point + 1 + n] == '#' || w[point + 1 + n] == '0')) ++n;
      UpDown1->SetPosition(static_cast<int>(n));
      CBFixedDecimals->SetChecked(n > 0 && w[point + 1] == '0');
      w.erase(point, n + 1);
    }
    if (w.find_first_not_of("#0") != std::string::npos) {
      CheckSilently(RBCustom);
      CBCustom->SetEnabled(true);
      if (CBCustom->Items()->IndexOf(format) < 0) CBCustom->Items()->Add(format);
      CBCustom->SetText(format);
      FocusIfShowing(CBCustom);
    } else {
      CheckSilently(RBInteger);
      UpDown2->SetPosition(static_cast<int>(std::count(w.begin(), w.end(), '0')));
    }
  }
  FLoading = false;
  InvokeControlHook(this);
}

void TFormatEditor::SharedClick(TObject*) {
  if (FLoading) return;
  FDate = RBDate->Checked();
  FGeo = RBGeo->Checked();
  if (RBDate->Checked() || RBCustom->Checked() || RBGeo->Checked()) RBInteger->SetChecked(false);
  CBDate->SetEnabled(RBDate->Checked());
  CBGeo->SetEnabled(RBGeo->Checked());
  CBCustom->SetEnabled(RBCustom->Checked());
  if (RBDate->Checked()) {
    if (CBDate->Text().empty()) CBDate->SetText(FormatSettings.ShortDateFormat);
    FocusIfShowing(CBDate);
  } else if (RBGeo->Checked()) {
    if (CBGeo->Text().empty() && CBGeo->Items()->Count() > 0) CBGeo->SetText(CBGeo->Items()->Strings(0));
    FocusIfShowing(CBGeo);
  } else {
    CBPercent->SetEnabled(!CBCustom->Enabled());
    if (CBCustom->Enabled()) FocusIfShowing(CBCustom);
  }
}

void TFormatEditor::RBIntegerClick(TObject* Sender) {
  if (RBInteger->Checked())
    for (TRadioButton* b : {RBDate, RBCustom, RBGeo}) b->SetChecked(false);
  SharedClick(Sender);
}

void TFormatEditor::CBPercentClick(TObject*) {
  const bool percent = CBPercent->Checked();
  CBThousands->SetEnabled(!percent);
  CBCurrency->SetEnabled(!percent);
  if (percent) {
    CBThousands->SetChecked(false);
    CBCurrency->SetChecked(false);
  }
}

void TFormatEditor::CBDateChange(TObject*) { TheFormat = CBDate->Text(); }
void TFormatEditor::CBCustomChange(TObject*) { TheFormat = CBCustom->Text(); }
void TFormatEditor::CBGeoChange(TObject*) { TheFormat = CBGeo->Text(); }

std::string TFormatEditor::BuildFormat() const {
  if (CBCustom->Enabled()) return CBCustom->Text();
  if (RBInteger->Checked()) {
    std::string s = CBCurrency->Checked() ? FormatSettings.CurrencyString : std::string();
    const int f = UpDown2->Position();
    const char sep = FormatSettings.ThousandSeparator;
    if (f == 0) {
      s += CBThousands->Checked() ? std::string("#") + sep + "###" : "#";
    } else if (!CBThousands->Checked()) {
      s += std::string(static_cast<size_t>(f), '0');
    } else if (f <= 3) {
      s += std::string("#") + sep + std::string(static_cast<size_t>(3 - f), '#') + std::string(static_cast<size_t>(f), '0');
    } else {
      s += std::string(static_cast<size_t>(f - 3), '0') + sep + "000";
    }
    const int d = UpDown1->Position();
    if (d > 0) s += FormatSettings.DecimalSeparator + std::string(static_cast<size_t>(d), CBFixedDecimals->Checked() ? '0' : '#');
    if (CBPercent->Checked()) s += "%";
    return s;
  }
  if (RBDate->Checked()) return CBDate->Text();
  if (RBGeo->Checked()) return CBGeo->Text();
  return "";
}

std::string TFormatEditor::EditFormat(TComponent* Owner, const std::string& Format, bool AllowDateTime) {
  std::unique_ptr<TFormatEditor> editor(new TFormatEditor(Owner));
  editor->TheFormat = Format;
  editor->AllowDateTime(AllowDateTime);
  return editor->ShowModal() == mrOk ? editor->BuildFormat() : Format;
}

void RegisterFormatEditorClasses() { RegisterClasses({&TFormatEditor::StaticClass()}); }
