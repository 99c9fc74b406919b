// A plain coloured panel with the layout's bevels: an outer and an inner
// bevel, each raised, lowered or absent, drawn in the classic light and
// shadow colours inside the panel's edge, whatever the desktop's theme.
#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

namespace app {

enum class Bevel { bvNone, bvLowered, bvRaised };

class BevelPanel : public QWidget {
 public:
  struct Style {
    QColor color;
    Bevel outer = Bevel::bvRaised;
    Bevel inner = Bevel::bvNone;
    int bevel_width = 1;
  };

  BevelPanel(QWidget* parent, const char* name, const Style& style);

  // The area inside the bevels, where aligned children are placed.
  QRect AlignRect() const;
  const Style& style() const { return style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Style style_;
};

}  // namespace app
