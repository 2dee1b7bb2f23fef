// Icons: icon groups of the program's resources decoded once and shared, as
// the window system shares loaded icons, and drawn into a paint context.
#include "platform/linux/resources.h"
#include "platform/linux/ui/handles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPixmap>

#include <map>
#include <memory>

namespace {

constexpr int kIconSize = 32;

std::unique_ptr<HICON__> DecodeIconFile(const BYTE* bytes, size_t size) {
    QByteArray data =
        QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    auto icon = std::make_unique<HICON__>();
    const int count = reader.imageCount();
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        QImage image = reader.read();
        if (!image.isNull())
            icon->images.push_back(std::move(image));
    }
    if (icon->images.empty())
        return nullptr;
    return icon;
}

} // namespace

QIcon HICON__::ToQIcon() const {
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

HICON LoadResourceIcon(int nID) {
    static std::map<int, std::unique_ptr<HICON__>> loaded;
    auto found = loaded.find(nID);
    if (found != loaded.end())
        return found->second.get();
    size_t size = 0;
    const BYTE* bytes = FindIconGroup(nID, &size);
    if (bytes == nullptr || size == 0)
        return nullptr;
    std::unique_ptr<HICON__> icon = DecodeIconFile(bytes, size);
    if (!icon)
        return nullptr;
    return (loaded[nID] = std::move(icon)).get();
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
        return kIconSize;
    default:
        return 0;
    }
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    if (hDC == nullptr || hDC->painter == nullptr || !hDC->painter->isActive() || hIcon == nullptr)
        return FALSE;
    hDC->painter->drawPixmap(X, Y, hIcon->ToQIcon().pixmap(kIconSize, kIconSize));
    return TRUE;
}
