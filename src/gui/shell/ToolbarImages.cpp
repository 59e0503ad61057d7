#include "gui/shell/ToolbarImages.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygon>
#include <QStyle>
#include <QStyleOption>

#include "gui/shell/CommandIds.h"

namespace tavro {

namespace {

const QColor kInk(0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kDarkYellow(128, 128, 0);
const QColor kNavy(0, 0, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);

void DrawFolder(QPainter& p, const QColor& ink) {
  p.setPen(ink);
  p.setBrush(kDarkYellow);
  p.drawPolygon(QPolygon(
      {QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 13), QPoint(1, 13)}));
  p.setBrush(kYellow);
  p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 7), QPoint(15, 7), QPoint(12, 13)}));
  p.drawLine(9, 1, 13, 1);
  p.drawLine(13, 1, 13, 3);
}

void DrawDiskette(QPainter& p, const QColor& ink) {
  p.setPen(ink);
  p.setBrush(kNavy);
  p.drawRect(1, 1, 13, 13);
  p.setPen(kInk);
  p.setBrush(kWhite);
  p.drawRect(3, 1, 9, 6);
  p.setBrush(kSilver);
  p.drawRect(4, 10, 7, 4);
  p.fillRect(5, 11, 2, 2, kNavy);
}

void DrawPages(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(kWhite);
  p.drawRect(1, 1, 8, 9);
  p.drawRect(6, 4, 8, 10);
  for (int y = 7; y <= 12; y += 2) p.drawLine(8, y, 12, y);
}

void DrawGlyph(QPainter& p, const QColor& ink, const QString& glyph) {
  QFont font;
  font.setPixelSize(13);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(ink);
  p.drawText(QRect(0, 0, kButtonImageWidth, kButtonImageHeight), Qt::AlignCenter, glyph);
}

// Draws at paint time rather than once: the ink is the palette's button text of the moment,
// which the toolbar's button face is made to stand behind.
class ToolbarIconEngine : public QIconEngine {
 public:
  explicit ToolbarIconEngine(int commandId) : commandId_(commandId) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const bool disabled = mode == QIcon::Disabled;
    const QColor ink = QGuiApplication::palette().color(
        disabled ? QPalette::Disabled : QPalette::Active, QPalette::ButtonText);
    QPixmap image(size);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.scale(size.width() / double(kButtonImageWidth),
                    size.height() / double(kButtonImageHeight));
      Draw(painter, ink);
    }
    // A disabled digit is already drawn in the palette's disabled text; the pictures are greyed
    // the way the style greys any icon.
    if (disabled && !IsGlyph()) {
      QStyleOption option;
      option.palette = QGuiApplication::palette();
      return QApplication::style()->generatedIconPixmap(QIcon::Disabled, image, &option);
    }
    return image;
  }

  QIconEngine* clone() const override { return new ToolbarIconEngine(commandId_); }

 private:
  bool IsGlyph() const {
    return commandId_ == cmd::kAppAbout ||
           (commandId_ >= cmd::kFirstSet && commandId_ < cmd::kFirstSet + 10);
  }

  void Draw(QPainter& p, const QColor& ink) const {
    if (commandId_ == cmd::kFileOpen) {
      DrawFolder(p, ink);
    } else if (commandId_ == cmd::kFileSave) {
      DrawDiskette(p, ink);
    } else if (commandId_ == cmd::kEditCopy) {
      DrawPages(p);
    } else if (commandId_ >= cmd::kFirstSet && commandId_ < cmd::kFirstSet + 10) {
      DrawGlyph(p, ink, QString::number(commandId_ - cmd::kFirstSet));
    } else if (commandId_ == cmd::kAppAbout) {
      DrawGlyph(p, ink, QStringLiteral("?"));
    }
  }

  int commandId_;
};

}  // namespace

QIcon ToolbarImage(int commandId) { return QIcon(new ToolbarIconEngine(commandId)); }

namespace {

QPixmap DrawnAppIcon() {
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kInk, 1.5));
  // A paper doll: head, body, arms and legs, in a warm colour.
  p.setBrush(QColor(255, 200, 160));
  p.drawEllipse(QRectF(11, 2, 10, 10));
  p.setBrush(QColor(220, 60, 90));
  p.drawPolygon(QPolygonF({QPointF(16, 12), QPointF(24, 24), QPointF(8, 24)}));
  p.drawLine(QPointF(10, 16), QPointF(3, 13));
  p.drawLine(QPointF(22, 16), QPointF(29, 13));
  p.drawLine(QPointF(13, 24), QPointF(12, 30));
  p.drawLine(QPointF(19, 24), QPointF(20, 30));
  return image;
}

}  // namespace

// Installed, the icon theme has the same picture at every size the desktop asks for.
QIcon AppIcon() { return QIcon::fromTheme(QStringLiteral(TAVRO_APP_ID), QIcon(DrawnAppIcon())); }

}  // namespace tavro
