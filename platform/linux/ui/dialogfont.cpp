// Choosing the dialog font and converting dialog units with its metrics.
#include "platform/linux/ui/dialogfont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#include <cstdio>

namespace {

int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

// Installed Song/Ming faces, the closest to the Windows Chinese system font.
const char* const kSongFaces[] = {
    "SimSun",         "NSimSun",           "AR PL UMing CN",      "AR PL UMing TW",
    "AR PL New Sung", "Noto Serif CJK SC", "Source Han Serif SC", "Source Han Serif CN",
};

// The faces Windows shows Western dialogs in, which Linux does not have.
const char* const kWesternDialogFaces[] = {"MS Shell Dlg",  "MS Shell Dlg 2",
                                           "MS Sans Serif", "Microsoft Sans Serif",
                                           "Tahoma",        "Segoe UI"};
// Their closest installed stand-ins, before whatever sans-serif face the
// system prefers.
const char* const kSansFaces[] = {"Tahoma", "Liberation Sans", "Arimo", "DejaVu Sans"};

bool IsInstalled(const QStringList& families, const QString& face) {
    return families.contains(face, Qt::CaseInsensitive);
}

// Without such a font every Chinese text is drawn as boxes; the dialog still
// opens, and the user learns once per run what to install.
void SayChineseFontIsMissing() {
    static bool said = false;
    if (said)
        return;
    said = true;
    std::fputs("VK37Set: no installed font shows Chinese text; install fonts-arphic-uming, "
               "fonts-noto-cjk or fonts-wqy-zenhei\n",
               stderr);
}

bool IsWesternDialogFace(const QString& face) {
    for (const char* western : kWesternDialogFaces)
        if (face.compare(QLatin1String(western), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QFont ChooseDialogFont(const QString& face, int pointSize) {
    const QStringList families = QFontDatabase::families();
    QString chosen;
    if (IsInstalled(families, face)) {
        chosen = face;
    } else if (IsWesternDialogFace(face)) {
        // A Western template's texts need no Chinese font.
        QFont font(QString(), pointSize > 0 ? pointSize : 8);
        font.setStyleHint(QFont::SansSerif);
        for (const char* sans : kSansFaces) {
            if (IsInstalled(families, QString::fromLatin1(sans))) {
                font.setFamily(QString::fromLatin1(sans));
                break;
            }
        }
        return font;
    } else {
        for (const char* song : kSongFaces) {
            if (IsInstalled(families, QString::fromLatin1(song))) {
                chosen = QString::fromLatin1(song);
                break;
            }
        }
    }
    if (chosen.isEmpty()) {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (chinese.isEmpty())
            SayChineseFontIsMissing();
        chosen = chinese.isEmpty() ? face : chinese.first();
    }
    QFont font(chosen);
    font.setPointSize(pointSize > 0 ? pointSize : 9);
    return font;
}

CDialogUnits CDialogUnits::FromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int baseX = (metrics.horizontalAdvance(kLetters) / 26 + 1) / 2;
    return CDialogUnits(baseX > 0 ? baseX : 1, metrics.height() > 0 ? metrics.height() : 1);
}

int CDialogUnits::ToPixelsX(int dlu) const {
    return MulDiv(dlu, m_baseX, 4);
}
int CDialogUnits::ToPixelsY(int dlu) const {
    return MulDiv(dlu, m_baseY, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(cx), ToPixelsY(cy));
}
