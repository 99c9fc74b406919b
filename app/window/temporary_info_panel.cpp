#include "app/window/temporary_info_panel.h"

#include <QPainter>

#include "app/window/cp932_text.h"

namespace app {

TemporaryInfoPanel::TemporaryInfoPanel(QWidget* parent) : QWidget(parent) {
  lines_.Add(Cp932("■□■ 情報ウインドウ ■□■"));
  lines_.OnChange = [this](platform::TObject*) {
    update();
    if (OnChange) OnChange();
  };
}

void TemporaryInfoPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setPen(Qt::gray);
  painter.drawText(rect(), Qt::AlignCenter,
                   QStringLiteral(u"（仮）情報ウインドウは準備中です ― %1 行").arg(lines_.Count()));
}

void TemporaryInfoPanel::resizeEvent(QResizeEvent*) {
  if (OnResize) OnResize();
}

std::unique_ptr<InfoWindow> MakeTemporaryInfoPanel(QWidget* parent) {
  return std::make_unique<TemporaryInfoPanel>(parent);
}

}  // namespace app
