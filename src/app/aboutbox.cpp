#include "app/aboutbox.h"

#include "platform/gfx/bitmap.h"
#include "platform/rtl/sysinfo.h"

TAboutBox* AboutBox = nullptr;

ZV_CLASS_IMPL_NOPROPS(TAboutBox, TForm)

std::string SystemName(unsigned PlatformId) {
  switch (PlatformId) {
    case VER_PLATFORM_WIN32s: return "Windows 3.1";
    case VER_PLATFORM_WIN32_WINDOWS: return "Windows 95/98";
    case VER_PLATFORM_WIN32_NT: return "Windows NT";
    default: return "Unknown system";
  }
}

TLabel* TAboutBox::NewLabel(const std::string& caption, int left, int top) {
  auto* l = new TLabel(this);
  l->SetParent(Panel1);
  l->SetText(caption);
  l->SetLeft(left);
  l->SetTop(top);
  l->SetAutoSize(true);
  return l;
}

TAboutBox::TAboutBox(TComponent* AOwner) : TForm(AOwner) {
  SetName("AboutBox");
  SetText("About Zelvora");
  SetBorderStyle(bsDialog);
  SetBorderIcons({biSystemMenu});
  SetClientWidth(475);
  SetClientHeight(271);
  SetPosition(poScreenCenter);
  SetFormStyle(fsStayOnTop);

  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alClient);
  Panel1->SetColor(clSilver);
  Panel1->SetText("");

  ProgramIcon = new TImage(this);
  ProgramIcon->SetParent(Panel1);
  ProgramIcon->SetBounds(12, 12, 48, 48);
  ProgramIcon->SetStretch(true);
  DrawIcon();

  ProductName = NewLabel("Zelvora for Windows", 76, 12);
  ProductName->Font()->SetStyle({fsBold});
  Version = NewLabel("Version 2.1", 76, 32);
  Comments = NewLabel("Rietveld refinement of powder-diffraction data", 76, 52);
  Label2 = NewLabel("Memory Load:", 12, 80);
  Label5 = NewLabel("", 110, 80);
  Label1 = NewLabel("System:", 12, 100);
  Label4 = NewLabel("", 110, 100);
  Label3 = NewLabel("Website:", 12, 120);
  Label7 = NewLabel("Contact:", 12, 140);

  LinkLabel1 = new TLinkLabel(this);
  LinkLabel1->SetParent(Panel1);
  LinkLabel1->SetBounds(110, 120, 200, 16);
  LinkLabel1->SetLinkType(lthttp);
  LinkLabel1->SetHyperLink("zelvora.example.org");
  LinkLabel2 = new TLinkLabel(this);
  LinkLabel2->SetParent(Panel1);
  LinkLabel2->SetBounds(110, 140, 200, 16);
  LinkLabel2->SetLinkType(ltmailto);
  LinkLabel2->SetHyperLink("zelvora@example.org");

  Label6 = NewLabel("References:", 12, 164);
  Memo1 = new TMemo(this);
  Memo1->SetParent(Panel1);
  Memo1->SetBounds(12, 182, 360, 76);
  Memo1->SetScrollBars(ssVertical);
  Memo1->SetReadOnly(true);
  Memo1->SetText(
      "H. M. Rietveld, J. Appl. Cryst. 2 (1969) 65-71.\n"
      "R. A. Young (ed.), The Rietveld Method, Oxford University Press (1993).\n"
      "P. Thompson, D. E. Cox, J. B. Hastings, J. Appl. Cryst. 20 (1987) 79-83.");

  OKButton = new TButton(this);
  OKButton->SetParent(Panel1);
  OKButton->SetText("OK");
  OKButton->SetBounds(388, 230, 75, 25);
  OKButton->SetDefault(true);
  OKButton->SetCancel(true);
  OKButton->SetModalResult(mrOk);
  OKButton->OnClick = [this](TObject*) { Close(); };

  OnShow = [this](TObject* s) { FormShow(s); };
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::DrawIcon() {
  // The program's mark: a diffraction pattern of three peaks.
  TBitmap* bitmap = ProgramIcon->Picture()->Bitmap();
  bitmap->SetWidth(32);
  bitmap->SetHeight(32);
  TCanvas* c = bitmap->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 32, 32));
  c->Pen()->SetColor(clNavy);
  c->Pen()->SetWidth(2);
  const int ys[] = {28, 27, 26, 20, 6, 20, 26, 27, 25, 14, 25, 27, 27, 22, 11, 22, 27, 28};
  c->MoveTo(0, 28);
  for (int i = 0; i < 18; ++i) c->LineTo(2 + i * 30 / 17, ys[i]);
}

void TAboutBox::FormShow(TObject*) {
  Label5->SetText(std::to_string(GlobalMemoryStatus().MemoryLoad) + "%");
  TOSVersionInfo os;
  // A query that fails says nothing about the system: it is not taken for
  // the oldest Windows.
  Label4->SetText(GetVersionEx(os) ? SystemName(os.PlatformId) : SystemName(VER_PLATFORM_POSIX));
}
