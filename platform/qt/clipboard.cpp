#include "platform/qt/clipboard.h"

#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QMimeData>
#include <QString>
#include <memory>
#include <optional>

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

}  // namespace

TClipboardStatus PutClipboardText(std::string_view cp932, bool box) {
  QClipboard* clipboard = Clipboard();
  if (!clipboard) return TClipboardStatus::NoText;
  const std::optional<std::string> utf8 = Cp932ToUtf8(WithLf(cp932));
  if (!utf8) return TClipboardStatus::NotCp932;
  auto data = std::make_unique<QMimeData>();
  data->setText(QString::fromStdString(*utf8));
  if (box) {
    QByteArray bytes(cp932.data(), static_cast<qsizetype>(cp932.size()));
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
  if (!data || !data->hasText()) return result;
  const std::optional<std::string> cp932 = Utf8ToCp932(data->text().toStdString());
  if (!cp932) {
    result.Status = TClipboardStatus::NotCp932;
    return result;
  }
  result.Status = TClipboardStatus::Done;
  result.Text = *cp932;
  result.Box = data->hasFormat(QString::fromLatin1(kBoxClipboardFormat));
  return result;
}

void ClearClipboardText() {
  if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}

}  // namespace platform
