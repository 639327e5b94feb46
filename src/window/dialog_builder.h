#pragma once
// Turns a dialog template into widgets. Positions and sizes in dialog units are converted
// with the dialog font's metrics, as the platform the templates were designed on does it:
// x pixels = x units * average character width / 4, y pixels = y units * character height / 8.
// The templates were drawn for a narrower font than the sans fonts that replace it, so the
// horizontal base is widened where needed until every fixed text fits its control.
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "core/forms/dialog_template.h"

class QWidget;

namespace vk930 {

// A modal dialog's frame: a caption with the close box, no minimise or maximise box.
inline constexpr Qt::WindowFlags kModalDialogFrame =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowCloseButtonHint;

struct DialogUnits {
    int baseX = 0;  // average character width of the dialog font, pixels
    int baseY = 0;  // character height of the dialog font, pixels

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return {X(width), Y(height)}; }
    QRect Rect(const DialogControl& c) const { return {X(c.x), Y(c.y), X(c.width), Y(c.height)}; }
};

// The template's font; a face that is not installed is replaced by a similar sans font.
QFont DialogFont(const DialogTemplate& dialog);
// The base units of a font: the width of the 52 letters A-Z a-z, halved per letter and
// rounded, and the font's height.
DialogUnits UnitsOf(const QFont& font);

// The horizontal base of the font the templates were drawn with ("MS Sans Serif" 8 pt):
// pixel widths given for that font (the log's 280-pixel column) scale by baseX / 6.
inline constexpr int kTemplateBaseX = 6;

// A text that must fit into a width of `width * baseX / divisor` pixels less `margin`
// pixels: a control's width in dialog units (divisor 4), or a width in pixels at the
// template font (divisor kTemplateBaseX).
struct TextRoom {
    QString text;
    int width = 0;
    int divisor = 4;
    int margin = 0;
};
// The smallest horizontal base, not below `base`, at which every text fits its room.
int BaseXToFit(int base, const QFontMetrics& metrics, const std::vector<TextRoom>& rooms);
// The pixels beside the text of a control the builder made: frame, indent, button margins.
int TextMargin(const QWidget* control);
// A caption as it is drawn: mnemonic marks removed ("&&" stays one "&").
QString WithoutMnemonic(const QString& caption);

// "ctl1016" for control 1016: the object name under which each control with an id is found.
QString ControlObjectName(int id);

struct BuiltDialog {
    DialogUnits units;
    QSize size;                      // the template's size in pixels
    std::vector<QWidget*> controls;  // one per template control, in tab order
    std::map<int, QWidget*> byId;    // the controls that have an id
};

// Makes a control the builder has no standard widget for (the operation log, the link
// control); returns null to let the builder make its default.
using ControlMaker = std::function<QWidget*(const DialogControl& control, QWidget* parent)>;

// Texts a control shows besides its caption (the identification fields' texts), by id. An
// empty list marks a control that is never shown: its caption need not fit.
using ControlTexts = std::map<int, std::vector<QString>>;

// Builds every control of the template onto `surface`, which gets the dialog font and the
// template's size. Controls marked hidden are created hidden. The horizontal base fits every
// caption, every text of `texts` and every extra room.
BuiltDialog BuildDialog(const DialogTemplate& dialog, QWidget* surface,
                        const ControlMaker& custom = {}, const ControlTexts& texts = {},
                        const std::vector<TextRoom>& rooms = {});

}  // namespace vk930
