// The font a dialog template asks for, or the closest installed font that
// shows its texts, and the dialog units that font defines.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

// face at pointSize when installed; for a face Windows shows Western
// dialogs in (MS Shell Dlg, Tahoma, ...), a sans-serif face; otherwise a
// Song/Ming-style Chinese font, then any font that covers Simplified Chinese.
// Without any of them, says on standard error (once) which font packages to
// install.
QFont ChooseDialogFont(const QString& face, int pointSize);

// The base units of a dialog font: the average width of the 52 ASCII
// letters and the font's height, in pixels. A dialog unit is a quarter of
// the first horizontally and an eighth of the second vertically.
class CDialogUnits {
public:
    CDialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}
    static CDialogUnits FromFont(const QFont& font);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    // Rounded as the window system's MulDiv rounds: halves away from zero.
    int ToPixelsX(int dlu) const;
    int ToPixelsY(int dlu) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};
