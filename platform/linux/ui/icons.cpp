// Icons: icon groups of the program's resources decoded once and shared, as
// the window system shares loaded icons, and drawn into a paint context; at
// each size and device pixel ratio, the icon's image that fits.
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
constexpr int kSmallIconSize = 16;

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
    // Images come decoded to one format; of those of one size the file lists
    // the deeper later (the 16-colour 32x32 image before the 256-colour one).
    std::map<int, const QImage*> bySize;
    for (const QImage& image : images)
        bySize[image.width()] = &image;
    QIcon icon;
    for (const auto& [width, image] : bySize)
        icon.addPixmap(QPixmap::fromImage(*image));
    return icon;
}

QPixmap HICON__::Pixmap(int size, qreal devicePixelRatio) const {
    const int wanted = qRound(size * devicePixelRatio);
    // Scaling down blurs less than scaling up; of images of one size, the
    // deeper later one.
    const QImage* best = nullptr;
    for (const QImage& image : images)
        if (image.width() >= wanted && (best == nullptr || image.width() <= best->width()))
            best = &image;
    if (best == nullptr)
        for (const QImage& image : images)
            if (best == nullptr || image.width() >= best->width())
                best = &image;
    if (best == nullptr)
        return QPixmap();
    QPixmap pixmap = QPixmap::fromImage(
        best->width() == wanted
            ? *best
            : best->scaled(wanted, wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
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

HINSTANCE AfxGetResourceHandle() {
    return nullptr; // the resources are the generated tables
}

HANDLE LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int, int, UINT) {
    // One icon holds every image; each window and paint picks its size.
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(name);
    if (type != IMAGE_ICON || id > 0xFFFF)
        return nullptr;
    return LoadResourceIcon(static_cast<int>(id));
}

int GetSystemMetrics(int nIndex) {
    switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
        return kIconSize;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return kSmallIconSize;
    default:
        return 0;
    }
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    if (hDC == nullptr || hDC->painter == nullptr || !hDC->painter->isActive() || hIcon == nullptr)
        return FALSE;
    const QPaintDevice* device = hDC->painter->device();
    hDC->painter->drawPixmap(X, Y,
                             hIcon->Pixmap(kIconSize, device ? device->devicePixelRatioF() : 1.0));
    return TRUE;
}
