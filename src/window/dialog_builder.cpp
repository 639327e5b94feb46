#include "window/dialog_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QValidator>
#include <QWidget>
#include <algorithm>

#include "window/icons.h"
#include "window/text.h"

namespace vk930 {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kControlIconPixels = 32;  // an icon control shows the standard-size icon
constexpr int kProbeWidth = 400;
constexpr int kCaptionIndent = 6;                            // a group box caption's place
constexpr int kGroupCaptionMargin = 2 * kCaptionIndent + 4;  // and the blank around it

// Rounds like the platform's MulDiv: value * numerator / denominator, to the nearest.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

QLabel* MakeLabel(const DialogControl& c, QWidget* parent, bool sunken) {
    auto* label = new QLabel(ToQ(c.caption), parent);
    label->setTextFormat(Qt::PlainText);  // paths and terminal texts are never markup
    if (sunken) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
        label->setIndent(2);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

// A frame whose caption sits on its top line, as the templates were drawn. Painted here
// rather than through a style sheet, which would cost the window's start a style of its own.
class TemplateGroupBox : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect frame(0, metrics.height() / 2, width() - 2,
                          height() - metrics.height() / 2 - 2);
        painter.setPen(palette().color(QPalette::Mid));  // an etched line: dark, then light
        painter.drawRect(frame);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.translated(1, 1));
        if (title().isEmpty()) return;
        const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 4,
                            metrics.height());
        painter.fillRect(caption, palette().window());
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }
};

// Digits only, typed or pasted.
class DigitsValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (c < '0' || c > '9') return Invalid;
        return Acceptable;
    }
};

QLineEdit* MakeEdit(const DialogControl& c, QWidget* parent) {
    auto* edit = new QLineEdit(ToQ(c.caption), parent);
    edit->setReadOnly((c.style & kStyleReadOnly) != 0);
    edit->setFrame((c.style & kStyleBorder) != 0);
    if (c.style & kStyleDigitsOnly) edit->setValidator(new DigitsValidator(edit));
    edit->setAcceptDrops(false);  // a dropped file is opened by the window, not typed here
    return edit;
}

QComboBox* MakeComboList(const DialogControl& c, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    std::vector<std::string> items = c.items;
    if (c.style & kStyleSorted) std::sort(items.begin(), items.end());
    for (const std::string& item : items) combo->addItem(ToQ(item));
    combo->setCurrentIndex(-1);
    return combo;
}

QLabel* MakeIcon(const DialogControl& c, QWidget* parent) {
    auto* icon = new QLabel(parent);
    icon->setPixmap(IconPixmap(std::stoi(c.caption), kControlIconPixels));
    return icon;
}

QWidget* MakeStandard(const DialogControl& c, QWidget* parent) {
    switch (c.kind) {
        case ControlKind::kPushButton:
        case ControlKind::kDefaultPushButton: {
            auto* button = new QPushButton(ToQ(c.caption), parent);
            button->setDefault(c.kind == ControlKind::kDefaultPushButton);
            return button;
        }
        case ControlKind::kGroupBox:
            return new TemplateGroupBox(ToQ(c.caption), parent);
        case ControlKind::kLabel:
            return MakeLabel(c, parent, false);
        case ControlKind::kSunkenLabel:
            return MakeLabel(c, parent, true);
        case ControlKind::kEdit:
            return MakeEdit(c, parent);
        case ControlKind::kComboList:
            return MakeComboList(c, parent);
        case ControlKind::kIcon:
            return MakeIcon(c, parent);
        case ControlKind::kCheckBox:
            return new QCheckBox(ToQ(c.caption), parent);
        case ControlKind::kListView:
        case ControlKind::kLinkControl:
            break;
    }
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return frame;
}

// Where the control goes. A drop-down list's template height is its dropped-down height;
// closed, it is as high as its font needs. An icon takes its own size.
QRect PlaceOf(const DialogControl& c, const DialogUnits& units, const QWidget* widget) {
    QRect rect = units.Rect(c);
    if (c.kind == ControlKind::kComboList) rect.setHeight(widget->sizeHint().height());
    if (c.kind == ControlKind::kIcon && c.width == 0 && c.height == 0)
        rect.setSize({kControlIconPixels, kControlIconPixels});
    return rect;
}

}  // namespace

int DialogUnits::X(int units) const {
    return MulDiv(units, baseX, 4);
}
int DialogUnits::Y(int units) const {
    return MulDiv(units, baseY, 8);
}

QFont DialogFont(const DialogTemplate& dialog) {
    const QString family = ToQ(dialog.fontName);
    QFont::insertSubstitutions(family, {QStringLiteral("Microsoft Sans Serif")});
    QFont font(family, dialog.fontPoints);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogUnits UnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QString::fromLatin1(kAlphabet));
    return {(width / 26 + 1) / 2, metrics.height()};
}

QString ControlObjectName(int id) {
    return QStringLiteral("ctl%1").arg(id);
}

int BaseXToFit(int base, const QFontMetrics& metrics, const std::vector<TextRoom>& rooms) {
    for (const TextRoom& room : rooms) {
        if (room.width <= 0) continue;
        const int needed = metrics.horizontalAdvance(room.text) + room.margin;
        while (MulDiv(room.width, base, room.divisor) < needed) ++base;
    }
    return base;
}

int TextMargin(const QWidget* control) {
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        // The style's margins around a button's label, measured on a probe of any size.
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = QRect(0, 0, kProbeWidth, button->fontMetrics().height() * 2);
        option.text = button->text();
        return kProbeWidth - button->style()
                                 ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                                 .width();
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int indent = label->frameWidth() > 0 ? std::max(label->indent(), 0) : 0;
        return 2 * (label->frameWidth() + label->margin()) + indent;
    }
    if (qobject_cast<const QGroupBox*>(control)) return kGroupCaptionMargin;
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
               box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
    return 0;
}

QString WithoutMnemonic(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

BuiltDialog BuildDialog(const DialogTemplate& dialog, QWidget* surface, const ControlMaker& custom,
                        const ControlTexts& texts, const std::vector<TextRoom>& rooms) {
    const QFont font = DialogFont(dialog);
    surface->setFont(font);
    BuiltDialog built;
    std::vector<TextRoom> fit = rooms;
    for (const DialogControl& c : dialog.controls) {
        QWidget* widget = custom ? custom(c, surface) : nullptr;
        if (!widget) widget = MakeStandard(c, surface);
        if (c.id != kNoId) {
            widget->setObjectName(ControlObjectName(c.id));
            built.byId[c.id] = widget;
        }
        widget->setHidden(!c.visible);
        // Group boxes are frames drawn behind the controls they surround.
        if (c.kind == ControlKind::kGroupBox) widget->lower();
        built.controls.push_back(widget);
        const bool showsCaption = c.kind != ControlKind::kEdit && c.kind != ControlKind::kIcon &&
                                  c.kind != ControlKind::kComboList;
        const int margin = TextMargin(widget);
        const auto more = texts.find(c.id);
        if (more != texts.end() && more->second.empty()) continue;  // never shown
        if (showsCaption && !c.caption.empty())
            fit.push_back({WithoutMnemonic(ToQ(c.caption)), c.width, 4, margin});
        if (more != texts.end())
            for (const QString& text : more->second) fit.push_back({text, c.width, 4, margin});
    }
    built.units = UnitsOf(font);
    built.units.baseX = BaseXToFit(built.units.baseX, QFontMetrics(font), fit);
    built.size = built.units.Size(dialog.width, dialog.height);
    for (std::size_t i = 0; i < dialog.controls.size(); ++i)
        built.controls[i]->setGeometry(PlaceOf(dialog.controls[i], built.units, built.controls[i]));
    return built;
}

}  // namespace vk930
