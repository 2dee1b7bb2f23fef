// The property frame against the fake V4L2 kernel, opened as the dialog's
// 属性 button opens it and driven from the keyboard: which rows each page
// shows, 默认值, 取消 putting back, 应用, a refused write, a camera that leaves.
#include "platform/linux/resources.h"
#include "platform/linux/ui/handles.h"
#include "platform/linux/ui/uiframework.h"
#include "platform/linux/v4l2/propertypageclasses.h"
#include "platform/msgbox_hook.h"
#include "res/resource.h"
#include "tests/platform/linux/ui/framesupport.h"
#include "tests/platform/linux/ui/modaldriver.h"
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <QLabel>
#include <QTabWidget>
#include <QtTest>

#include <cerrno>
#include <functional>
#include <map>
#include <set>

namespace {

using CWrites = std::vector<CFakeKernel::CWrite>;

struct CFrameCase {
    const char* label;
    std::function<void(CFakeNode&)> camera;
    // Drives the open frame, noting in seen what the case wants to have seen.
    std::function<void(QWidget* frame, CFakeKernel& kernel, QString& seen)> drive;
    std::string rows; // each page's title and its rows, with their places
    CWrites writes;   // every control write, in order
    QString seen = {};
    bool gone = false; // the camera left: one box, the frame closed by itself
};

void Focus(QWidget* frame, int id) {
    FrameControl(frame, id)->setFocus(Qt::TabFocusReason);
}

QString Text(QWidget* frame, int id) {
    return qobject_cast<QLabel*>(FrameControl(frame, id))->text();
}

// "title: name@place ...|" for each page: the rows' names shown, top to
// bottom, each placed by its distance from the first row, in rows.
QString Rows(QWidget* frame) {
    QString out;
    auto* tabs = frame->findChild<QTabWidget*>();
    for (int i = 0; i < tabs->count(); ++i) {
        std::map<int, QString> shown;
        std::set<int> places;
        for (QLabel* label : tabs->widget(i)->findChildren<QLabel*>())
            if (label->alignment() & Qt::AlignLeft) { // the names, not the values
                places.insert(label->y());
                if (label->isVisibleTo(tabs->widget(i)))
                    shown[label->y()] = label->text();
            }
        const int first = *places.begin(), pitch = *std::next(places.begin()) - first;
        out += tabs->tabText(i) + ":";
        for (const auto& [y, name] : shown)
            out += QString(" %1@%2").arg(name).arg((y - first) / pitch);
        out += "|";
    }
    return out;
}

QString Format(const CWrites& writes) {
    QString out;
    for (const auto& [id, value] : writes)
        out += QString("%1=%2 ").arg(id, 0, 16).arg(value);
    return out;
}

void NoExposure(CFakeNode& node) {
    for (uint32_t id : {V4L2_CID_EXPOSURE_AUTO, V4L2_CID_EXPOSURE_ABSOLUTE})
        node.controls.erase(id);
}

const std::string kAmplifier =
    "视频 Proc Amp: 亮度@0 对比度@1 色调@2 饱和度@3 清晰度@4 伽玛@5 白平衡@6 逆光对比@7 增益@8|";
const std::string kWebcam = kAmplifier + "摄像机控制: 曝光@0|";
constexpr uint32_t kBrightness = V4L2_CID_BRIGHTNESS, kContrast = V4L2_CID_CONTRAST;
constexpr uint32_t kAutoWhite = V4L2_CID_AUTO_WHITE_BALANCE;

// The USB webcam of the fake kernel: brightness -64..64 at 10 (a page of the
// keyboard is 25), contrast 0..95 at 40 (a page is 19), automatic white
// balance on; the focus starts on the brightness slider.
const CFrameCase kCases[] = {
    // clang-format off
    {"webcam: its rows only, Esc writes nothing", nullptr,
     [](QWidget* frame, CFakeKernel&, QString&) { PressKey(frame, Qt::Key_Escape); },
     kWebcam, {}},
    {"focus and zoom without exposure: 默认值 of the second page, then Enter",
     [](CFakeNode& node) { NoExposure(node); AddFocusAndZoom(node); },
     [](QWidget* frame, CFakeKernel&, QString&) {
         PressKey(frame, Qt::Key_PageDown, Qt::ControlModifier);
         PressAccessKey(frame, Qt::Key_D); // this page's button, not the hidden one's
         PressKey(frame, Qt::Key_Return);
     },
     kAmplifier + "摄像机控制: 焦点@0 缩放@1|", {{V4L2_CID_ZOOM_ABSOLUTE, 100}}},
    {"默认值 of the amplifier page, then Enter: each value once, auto white balance stays",
     NoExposure,
     [](QWidget* frame, CFakeKernel&, QString&) {
         PressAccessKey(frame, Qt::Key_D);
         PressKey(frame, Qt::Key_Return);
     },
     kAmplifier, {{kBrightness, 0}, {kContrast, 32}, {V4L2_CID_HUE, 0}, {V4L2_CID_SATURATION, 64},
                  {V4L2_CID_SHARPNESS, 2}, {V4L2_CID_GAMMA, 100}, {V4L2_CID_GAIN, 0}}},
    {"Esc puts back the value and the automatic mode, nothing else", nullptr,
     [](QWidget* frame, CFakeKernel&, QString& seen) {
         PressKey(frame, Qt::Key_PageUp);
         Focus(frame, IDC_WHITEBALANCE_AUTO);
         PressKey(frame, Qt::Key_Space);
         seen = Text(frame, IDC_WHITEBALANCE_VALUE);
         PressKey(frame, Qt::Key_Escape);
     },
     kWebcam, {{kBrightness, 35}, {kAutoWhite, 0}, {kBrightness, 10}, {kAutoWhite, 1}}, "5000"},
    {"应用, then Esc keeps what was applied", nullptr,
     [](QWidget* frame, CFakeKernel&, QString&) {
         PressKey(frame, Qt::Key_PageUp);
         PressAccessKey(frame, Qt::Key_A);
         Focus(frame, IDC_CONTRAST_SLIDER);
         PressKey(frame, Qt::Key_PageUp);
         PressKey(frame, Qt::Key_Escape);
     },
     kWebcam, {{kBrightness, 35}, {kContrast, 59}, {kContrast, 40}}},
    {"a refused write shows the camera's value again",
     [](CFakeNode& node) { node.controls[kContrast].writeErrno = EIO; },
     [](QWidget* frame, CFakeKernel& kernel, QString& seen) {
         Focus(frame, IDC_CONTRAST_SLIDER);
         PressKey(frame, Qt::Key_PageUp);
         seen = Text(frame, IDC_CONTRAST_VALUE);
         if (QTest::qWaitFor([&] { return !kernel.Writes().empty(); }))
             QTest::qWait(10);
         seen += " " + Text(frame, IDC_CONTRAST_VALUE);
         PressKey(frame, Qt::Key_Escape);
     },
     kWebcam, {{kContrast, 59}}, "59 40"},
    {"the camera leaves: a box, the frame closes, nothing more is written",
     [](CFakeNode& node) { node.controls[kBrightness].writeErrno = ENODEV; },
     [](QWidget* frame, CFakeKernel&, QString&) {
         PressKey(frame, Qt::Key_PageUp);
         Focus(frame, IDC_CONTRAST_SLIDER);
         PressKey(frame, Qt::Key_PageUp);
         // A hang guard only: the frame closes at the first write.
         if (!QTest::qWaitFor([frame] { return !frame->isVisible(); }, 10000))
             PressKey(frame, Qt::Key_Escape);
     },
     kWebcam, {{kBrightness, 35}}, QString(), true},
    // clang-format on
};

} // namespace

class PropertyFrameTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitFrameworkUi(); }

    void frame_data() {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < std::size(kCases); ++i)
            QTest::newRow(kCases[i].label) << static_cast<int>(i);
    }

    void frame() {
        QFETCH(int, index);
        const CFrameCase& c = kCases[index];
        auto kernel = std::make_shared<CFakeKernel>();
        AddUsbWebcam(*kernel, 0, "HD Webcam", "usb-1");
        if (c.camera)
            c.camera(kernel->Node(0));
        std::vector<std::wstring> boxes;
        const MessageBoxHandler previous = SetMessageBoxHandler([&](LPCWSTR text, UINT, UINT) {
            boxes.emplace_back(text);
            return IDOK;
        });
        QWidget owner;
        owner.show();
        QString title, rows, seen;
        bool ownerDisabled = false;
        WhenModalAppears(&owner, [&](QWidget* frame) {
            title = frame->windowTitle();
            rows = Rows(frame);
            ownerDisabled = !owner.isEnabled();
            c.drive(frame, *kernel, seen);
        });
        HRESULT hr = E_FAIL;
        {
            ComPtr<IBaseFilter> filter = BindFirstCamera(kernel);
            QVERIFY(filter);
            hr = OpenPropertyFrame(filter.Get(), L"HD Webcam", HandleFromWidget(&owner));
        }
        SetMessageBoxHandler(previous);
        QCOMPARE(hr, S_OK);
        QCOMPARE(title, QString("HD Webcam 属性"));
        QCOMPARE(rows, QString::fromStdString(c.rows));
        QVERIFY(ownerDisabled);
        QVERIFY(owner.isEnabled());
        QCOMPARE(Format(kernel->Writes()), Format(c.writes));
        QCOMPARE(seen, c.seen);
        QCOMPARE(boxes.size(), c.gone ? 1u : 0u);
        if (c.gone)
            QCOMPARE(boxes[0], std::wstring(FindResourceString(IDS_PROPERTY_DEVICE_GONE)));
        QCOMPARE(kernel->OpenDescriptors(), 0);
        QCOMPARE(DriverGiveUps(), 0);
    }

    // Pages the frame does not know, or none: no window, a failure.
    void unknownPagesShowNothing() {
        auto kernel = std::make_shared<CFakeKernel>();
        AddUsbWebcam(*kernel, 0, "HD Webcam", "usb-1");
        ComPtr<IBaseFilter> filter = BindFirstCamera(kernel);
        QVERIFY(filter);
        IUnknown* object = filter.Get();
        CLSID unknown = CLSID_VideoInputDeviceCategory;
        QCOMPARE(
            OleCreatePropertyFrame(nullptr, 0, 0, L"x", 1, &object, 1, &unknown, 0, 0, nullptr),
            REGDB_E_CLASSNOTREG);
        QCOMPARE(OleCreatePropertyFrame(nullptr, 0, 0, L"x", 1, &object, 0, nullptr, 0, 0, nullptr),
                 REGDB_E_CLASSNOTREG);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }
};

QTEST_MAIN(PropertyFrameTest)
#include "propertyframe_test.moc"
