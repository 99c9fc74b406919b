#include "platform/control/clipboard.h"

#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QMimeData>
#include <QString>
#include <memory>
#include <optional>
#include <utility>

#include "platform/cp932.h"

namespace platform {

namespace {

QClipboard* Clipboard() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  return QGuiApplication::clipboard();
}

// CR LF and lone CRs as LF, for the programs of this platform.
std::string WithLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The text as other programs read it: character by character as the
// editor shows it, so that a byte without a Unicode form becomes the same
// U+FFFD the screen shows, and nothing after it is lost or shifted.
QString UnicodeForOthers(std::string_view cp932) {
  const std::string text = WithLf(cp932);
  if (const std::optional<std::string> utf8 = Cp932ToUtf8(text))
    return QString::fromStdString(*utf8);
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size();) {
    const Cp932Char c = DecodeCp932Char(text, i);
    out += QString::fromUcs4(&c.code, 1);
    i += static_cast<std::size_t>(c.bytes);
  }
  return out;
}

std::string BytesOf(const QByteArray& data) {
  return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

}  // namespace

TClipboardStatus PutClipboardText(std::string_view cp932, bool box) {
  QClipboard* clipboard = Clipboard();
  if (!clipboard) return TClipboardStatus::NoText;
  auto data = std::make_unique<QMimeData>();
  data->setText(UnicodeForOthers(cp932));
  QByteArray bytes(cp932.data(), static_cast<qsizetype>(cp932.size()));
  data->setData(QString::fromLatin1(kCp932ClipboardFormat), bytes);
  if (box) {
    bytes.append('\0');
    data->setData(QString::fromLatin1(kBoxClipboardFormat), bytes);
  }
  clipboard->setMimeData(data.release());  // the clipboard owns it now
  return TClipboardStatus::Done;
}

TClipboardText GetClipboardText() {
  TClipboardText result;
  QClipboard* clipboard = Clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) return result;
  result.Box = data->hasFormat(QString::fromLatin1(kBoxClipboardFormat));
  // Ours: the bytes as they were, also those that Unicode cannot carry and
  // the NEC and IBM codes that share a character.
  if (data->hasFormat(QString::fromLatin1(kCp932ClipboardFormat))) {
    result.Status = TClipboardStatus::Done;
    result.Text = BytesOf(data->data(QString::fromLatin1(kCp932ClipboardFormat)));
    return result;
  }
  if (result.Box) {
    std::string bytes = BytesOf(data->data(QString::fromLatin1(kBoxClipboardFormat)));
    if (const std::size_t end = bytes.find('\0'); end != std::string::npos) bytes.resize(end);
    result.Status = TClipboardStatus::Done;
    result.Text = std::move(bytes);
    return result;
  }
  if (!data->hasText()) return result;
  result.Status = TClipboardStatus::Done;
  result.Text = Utf8ToCp932Lossy(data->text().toStdString());
  return result;
}

void ClearClipboardText() {
  if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}

}  // namespace platform
