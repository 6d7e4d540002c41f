#include "ui/qt/text_fit.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextLayout>

#include "ui/qt/fonts.h"

namespace tarvo::ui::qt {
namespace {

// QLineEdit keeps these margins between its contents rectangle and its text.
constexpr int kLineEditHorizontalMargin = 2;
constexpr int kLineEditVerticalMargin = 1;
// A closed list draws its text this far inside its edit field (the field's own line edit
// keeps the same margin).
constexpr int kComboTextMargin = 2;

QString WithoutTrailingBlanks(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) {
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace()) --end;
    line.truncate(end);
  }
  return lines.join(QLatin1Char('\n'));
}

bool Wraps(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->wordWrap();
  if (const auto* multi = qobject_cast<const QPlainTextEdit*>(&widget)) {
    return multi->lineWrapMode() != QPlainTextEdit::NoWrap;
  }
  return false;
}

// The height of `text` laid out as a plain text box lays it out: each paragraph wrapped at
// `width` (between words, or anywhere in a word too long for a line), line under line.
double WrappedHeight(const QFont& font, int width, const QString& text) {
  double height = 0;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      height += line.height();
    }
    layout.endLayout();
  }
  return height;
}

QRect ButtonRoom(const QAbstractButton& button, QStyle::SubElement contents) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  if (const auto* push = qobject_cast<const QPushButton*>(&button); push && push->isDefault()) {
    option.features |= QStyleOptionButton::DefaultButton;
  }
  return button.style()->subElementRect(contents, &option, &button);
}

}  // namespace

QStringList ShownTexts(const QWidget& widget) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) return {edit->text()};
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    QStringList texts{combo->currentIndex() >= 0 || combo->isEditable() ? combo->currentText()
                                                                        : combo->placeholderText()};
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return {button->text()};
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return {label->text()};
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) return {group->title()};
  if (const auto* multi = qobject_cast<const QPlainTextEdit*>(&widget)) {
    if (Wraps(*multi)) return {multi->toPlainText()};
  }
  return {};
}

QRect TextRoom(const QWidget& widget) {
  QStyle* style = widget.style();
  if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth =
        edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QRect contents = style->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    return contents.marginsRemoved(edit->textMargins())
        .adjusted(kLineEditHorizontalMargin, kLineEditVerticalMargin, -kLineEditHorizontalMargin,
                  -kLineEditVerticalMargin);
  }
  if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    return style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo)
        .adjusted(kComboTextMargin, 0, -kComboTextMargin, 0);
  }
  if (const auto* radio = qobject_cast<const QRadioButton*>(&widget)) {
    return ButtonRoom(*radio, QStyle::SE_RadioButtonContents);
  }
  if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
    return ButtonRoom(*button, QStyle::SE_PushButtonContents);
  }
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    const int margin = label->margin();
    return label->contentsRect().adjusted(margin, margin, -margin, -margin);
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
    // The title starts a little in from the frame's left; keep as much room on the right.
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = group->alignment();
    const QRect title =
        style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    return QRect(title.left(), title.top(), group->width() - 2 * title.left(), title.height());
  }
  if (const auto* multi = qobject_cast<const QPlainTextEdit*>(&widget)) {
    // Lines wrap as if the scroll bar were shown, so they do not wrap anew when it goes.
    const int margin = static_cast<int>(multi->document()->documentMargin());
    const int scrollBar = multi->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                              ? 0
                              : style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, multi);
    return multi->contentsRect().adjusted(margin, margin, -margin - scrollBar, -margin);
  }
  return widget.rect();
}

bool TextFits(const QWidget& widget, const QFont& font, const QString& text) {
  if (const auto* multi = qobject_cast<const QPlainTextEdit*>(&widget); multi && Wraps(*multi)) {
    const QRect room = TextRoom(widget);
    return WrappedHeight(font, room.width(), text) <= room.height();
  }
  int flags = qobject_cast<const QAbstractButton*>(&widget) != nullptr ? Qt::TextShowMnemonic : 0;
  if (Wraps(widget)) flags |= Qt::TextWordWrap;
  return TextFitsRoom(font, TextRoom(widget).size(), text, flags);
}

bool TextFitsRoom(const QFont& font, const QSizeF& room, const QString& text, int flags) {
  const QString shown = WithoutTrailingBlanks(text);
  if (shown.isEmpty()) return true;
  // Laid out in the room's width: a wrapped text breaks there, and a word or line that still
  // runs wider than the room shows in the bounding rectangle's width.
  const QRectF needed =
      QFontMetricsF(font).boundingRect(QRectF(0, 0, room.width(), 1e6), flags, shown);
  constexpr double kRounding = 1e-6;
  return needed.width() <= room.width() + kRounding && needed.height() <= room.height() + kRounding;
}

void FitFont(QWidget& widget, const QFont& controlFont) {
  const QStringList texts = ShownTexts(widget);
  const QFont font = NarrowedToFit(controlFont, [&](const QFont& candidate) {
    for (const QString& text : texts) {
      if (!TextFits(widget, candidate, text)) return false;
    }
    return true;
  });
  if (widget.font() != font) widget.setFont(font);
}

}  // namespace tarvo::ui::qt
