#include "platform/ui/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <map>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/streams.h"
#include "platform/ui/qt_ui.h"

namespace {

std::map<std::string, TClipboardFormat>& FormatNames() {
  static std::map<std::string, TClipboardFormat> m;
  return m;
}

std::map<TClipboardFormat, QString>& FormatMimes() {
  static std::map<TClipboardFormat, QString> m;
  return m;
}

QString MimeOf(TClipboardFormat f) {
  switch (f) {
    case CF_TEXT:
    case CF_UNICODETEXT: return "text/plain";
    case CF_BITMAP:
    case CF_DIB: return "application/x-qt-image";
    case CF_ENHMETAFILE:
    case CF_METAFILEPICT: return "image/x-emf";
    default: break;
  }
  if (auto it = FormatMimes().find(f); it != FormatMimes().end()) return it->second;
  for (auto& [name, id] : FormatNames())
    if (id == f) return "application/x-zelvora-" + ToQString(name);
  return "application/x-zelvora-format-" + QString::number(f);
}

QClipboard* Board() {
  EnsureQtApplication();
  return QGuiApplication::clipboard();
}

}  // namespace

TClipboardFormat RegisterClipboardFormat(const std::string& Name, const std::string& Mime) {
  auto& m = FormatNames();
  for (auto& [n, id] : m)
    if (SameIdent(n, Name)) return id;
  const TClipboardFormat id = 0xC000 + static_cast<TClipboardFormat>(m.size());
  m[Name] = id;
  if (!Mime.empty()) FormatMimes()[id] = ToQString(Mime);
  else if (SameIdent(Name, "Rich Text Format")) FormatMimes()[id] = "text/rtf";
  return id;
}

TClipboard* Clipboard() {
  static TClipboard c;
  return &c;
}

void* TClipboard::Pending() {
  if (FPending) return FPending;
  auto* data = new QMimeData();
  // A format set without emptying the clipboard joins what is there.
  if (const QMimeData* now = Board()->mimeData()) {
    for (const QString& f : now->formats()) data->setData(f, now->data(f));
    if (now->hasImage()) data->setImageData(now->imageData());
  }
  FPending = data;
  return FPending;
}

void TClipboard::Open() { ++FOpenCount; }

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  if (--FOpenCount == 0) Commit();
}

void TClipboard::Commit() {
  if (!FPending) return;
  auto* data = static_cast<QMimeData*>(FPending);
  FPending = nullptr;
  Board()->setMimeData(data);  // the clipboard takes ownership
}

void TClipboard::Clear() {
  if (FPending) {
    delete static_cast<QMimeData*>(FPending);
    FPending = nullptr;
  }
  Board()->clear();
  if (FOpenCount > 0) Pending();
}

bool TClipboard::HasFormat(TClipboardFormat Format) const {
  const QMimeData* d = FPending ? static_cast<QMimeData*>(FPending) : Board()->mimeData();
  if (!d) return false;
  if (Format == CF_TEXT || Format == CF_UNICODETEXT) return d->hasText();
  if (Format == CF_BITMAP || Format == CF_DIB) return d->hasImage();
  return d->hasFormat(MimeOf(Format));
}

std::string TClipboard::AsText() const {
  const QMimeData* d = FPending ? static_cast<QMimeData*>(FPending) : Board()->mimeData();
  return d && d->hasText() ? FromQString(d->text()) : std::string();
}

void TClipboard::SetAsText(const std::string& Text) {
  Open();
  Clear();
  static_cast<QMimeData*>(Pending())->setText(ToQString(Text));
  Close();
}

void TClipboard::Assign(const TGraphic* Source) {
  if (!Source) return;
  Open();
  Clear();
  auto* data = static_cast<QMimeData*>(Pending());
  if (auto* mf = dynamic_cast<const TMetafile*>(Source)) {
    FMetafile = std::make_unique<TMetafile>();
    FMetafile->Assign(mf);
    ++FMetafileToken;
    data->setData("application/x-zelvora-metafile-token", QByteArray::number(static_cast<qulonglong>(FMetafileToken)));
    TMemoryStream s;
    mf->SaveToEmfStream(s);
    data->setData(MimeOf(CF_ENHMETAFILE), QByteArray(reinterpret_cast<const char*>(s.Memory()),
                                                     static_cast<qsizetype>(s.Size())));
    // Programs that take no metafile get the picture as an image.
    TBitmap bmp(std::max(mf->Width(), 1), std::max(mf->Height(), 1));
    bmp.Canvas()->StretchDraw(Rect(0, 0, bmp.Width(), bmp.Height()), const_cast<TMetafile*>(mf));
    data->setImageData(GfxBitmapImage(&bmp).copy());
  } else if (auto* bm = dynamic_cast<const TBitmap*>(Source)) {
    data->setImageData(GfxBitmapImage(const_cast<TBitmap*>(bm)).copy());
  } else {
    TBitmap bmp(std::max(Source->Width(), 1), std::max(Source->Height(), 1));
    bmp.Canvas()->Draw(0, 0, const_cast<TGraphic*>(Source));
    data->setImageData(GfxBitmapImage(&bmp).copy());
  }
  Close();
}

bool TClipboard::GetBitmap(TBitmap* Dest) const {
  const QMimeData* d = Board()->mimeData();
  if (!d || !d->hasImage()) return false;
  const QImage img = qvariant_cast<QImage>(d->imageData());
  if (img.isNull()) return false;
  // Another program's picture: no larger than a picture file may decode to.
  try {
    TPictureBudget load(kLoadPixelBudget, kLoadBudgetName);
    TPictureBudget::Spend(img.width(), img.height(), static_cast<long long>(img.sizeInBytes()));
  } catch (const EReadError&) {
    return false;
  }
  GfxSetBitmapImage(Dest, img.convertToFormat(QImage::Format_RGB32));
  return true;
}

bool TClipboard::GetMetafile(TMetafile* Dest) const {
  const QMimeData* d = Board()->mimeData();
  if (!d || !d->hasFormat(MimeOf(CF_ENHMETAFILE))) return false;
  if (FMetafile && d->data("application/x-zelvora-metafile-token").toULongLong() == FMetafileToken) {
    Dest->Assign(FMetafile.get());
    return true;
  }
  // Another program's metafile: only the enhanced bytes are there.
  const QByteArray bytes = d->data(MimeOf(CF_ENHMETAFILE));
  TMemoryStream s;
  s.WriteBuffer(bytes.constData(), bytes.size());
  s.SetPosition(0);
  try {
    Dest->LoadFromStream(s);
  } catch (const EInvalidGraphic&) {
    return false;
  }
  return true;
}

void TClipboard::SetBuffer(TClipboardFormat Format, const std::vector<uint8_t>& Data) {
  Open();
  auto* data = static_cast<QMimeData*>(Pending());
  const QByteArray bytes(reinterpret_cast<const char*>(Data.data()), static_cast<qsizetype>(Data.size()));
  if (Format == CF_TEXT || Format == CF_UNICODETEXT) data->setText(QString::fromUtf8(bytes));
  else data->setData(MimeOf(Format), bytes);
  Close();
}

std::vector<uint8_t> TClipboard::GetBuffer(TClipboardFormat Format) const {
  const QMimeData* d = FPending ? static_cast<QMimeData*>(FPending) : Board()->mimeData();
  if (!d) return {};
  QByteArray bytes;
  if (Format == CF_TEXT || Format == CF_UNICODETEXT) bytes = d->text().toUtf8();
  else bytes = d->data(MimeOf(Format));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
