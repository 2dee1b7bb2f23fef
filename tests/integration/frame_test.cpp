// The property frame in the test VM, on Qt's offscreen platform: on vivid,
// opened by the main dialog's 属性 and driven from the keyboard while
// v4l2-ctl reads the camera, and unbound under it; on the emulated UVC camera slowed down to 20 ms
// a SET_CUR, a slider dragged over its range costs a bounded number of SET_CUR requests.
#include "app/vk37setdlg.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/propertywriter.h"
#include "platform/linux/v4l2/syscalls.h"
#include "res/resource.h"
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"
#include "tests/platform/linux/ui/framesupport.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

constexpr int kWaitMs = 60000; // a hang guard only

using Values = std::map<std::string, long>;

// vivid's amplifier controls, as v4l2-ctl names them, each set away from its
// default before the frame opens. Its gain, while automatic, changes by itself.
const std::pair<const char*, long> kVividSettings[] = {
    {"brightness", 10}, {"contrast", 20},      {"saturation", 30},
    {"hue", 40},        {"gain_automatic", 0}, {"gain", 50},
};

Values Read(const std::string& node, bool defaults = false) {
    Values values;
    std::map<std::string, V4l2CtlControl> controls = ListControls(node);
    for (const auto& [name, value] : kVividSettings) {
        const V4l2CtlControl& c = controls[name];
        const V4l2CtlControl& automatic = controls["gain_automatic"];
        if (std::string(name) != "gain" || (defaults ? automatic.def : automatic.value) == 0)
            values[name] = defaults ? c.def : c.value;
    }
    return values;
}

// What a user does with the frame open, after 属性: 默认值 (Alt+D), which the
// camera shows at once (v4l2-ctl reads it while the frame stays open), then
// 应用 (Alt+A) if asked, and Esc. Returns what v4l2-ctl read meanwhile.
Values SetUpFromTheKeyboard(QWidget* frame, const std::string& node, bool apply) {
    const Values defaults = Read(node, true);
    Values seen;
    EXPECT_TRUE(PressAccessKey(frame, Qt::Key_D));
    // The caller compares what was seen last.
    static_cast<void>(QTest::qWaitFor([&] { return (seen = Read(node)) == defaults; }, kWaitMs));
    if (apply)
        EXPECT_TRUE(PressAccessKey(frame, Qt::Key_A));
    PressKey(frame, Qt::Key_Escape);
    return seen;
}

// The application objects a frame needs, for the life of one test.
class VividFrame : public CVividTest {
    int m_argc = 1;
    char m_name[20] = "vivid_dialog_tests";
    char* m_argv[2] = {m_name, nullptr};
    QApplication m_app{m_argc, m_argv};
    CWinApp m_winApp{L"VK37Set"};
};

// The real dialog: 属性 (Alt+P, or Space on it) opens the chosen camera's frame over it.
TEST_F(VividFrame, PropertiesOpensTheFrameDefaultsShowAtOnceEscPutsBackApplyKeeps) {
    const std::string node = CaptureNodes().at(0);
    CVK37SetDlg dlg;
    WhenModalAppears(nullptr, [&](QWidget* window) {
        for (const bool apply : {false, true}) {
            SCOPED_TRACE(apply ? "应用, then Esc" : "Esc");
            for (const auto& [name, value] : kVividSettings)
                ASSERT_TRUE(SetControl(node, name, value)) << name;
            const Values before = Read(node), defaults = Read(node, true);
            ASSERT_NE(before, defaults);
            Values seen;
            bool opened = false;
            WhenModalAppears(window, [&](QWidget* frame) {
                opened = true;
                seen = SetUpFromTheKeyboard(frame, node, apply);
            });
            // Once by its access key, once by Space with the focus on it, which
            // it gets back once the frame is gone.
            QWidget* button = DialogControl(dlg, IDC_PROPERTIES_BUTTON);
            if (apply) {
                button->setFocus(Qt::TabFocusReason);
                PressKey(window, Qt::Key_Space);
            } else {
                EXPECT_TRUE(PressAccessKey(window, Qt::Key_P));
            }
            EXPECT_TRUE(QTest::qWaitFor([&] { return opened && window->isEnabled(); }, kWaitMs));
            if (apply)
                EXPECT_EQ(button, window->focusWidget());
            EXPECT_EQ(defaults, seen) << "默认值 did not reach the camera while the frame was open";
            EXPECT_EQ(apply ? defaults : before, Read(node));
        }
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(0, DriverGiveUps());
}

TEST_F(VividFrame, UnboundWhileOpenEndsTheFrameWithABox) {
    std::string device;
    bool closed = false;
    WhenModalAppears(nullptr, [&](QWidget* frame) {
        if (UnbindVivid(&device))
            closed = QTest::qWaitFor([frame] { return !frame->isVisible(); }, kWaitMs);
        if (!closed)
            PressKey(frame, Qt::Key_Escape);
    });
    ComPtr<IBaseFilter> filter = BindFirstCamera(RealSystemCalls());
    ASSERT_TRUE(filter);
    EXPECT_EQ(S_OK, OpenPropertyFrame(filter.Get(), L"vivid"));
    ASSERT_TRUE(BindVivid(device));
    EXPECT_TRUE(closed);
    EXPECT_EQ(std::vector<std::wstring>{FindResourceString(IDS_PROPERTY_DEVICE_GONE)}, m_messages);
}

using UvcFrame = VividFrame;

// A mouse drag over the gain's whole range (0..255), one position every few
// milliseconds. The writer starts a row's next write a pace after its last
// one ended, so the drag costs at most one write per pace and one at each
// end; the last position is written before 确定 closes the frame.
TEST_F(UvcFrame, DraggedSliderCostsBoundedWritesAndTheLastLands) {
    const char* logPath = std::getenv("VK37_UVC_LOG");
    ASSERT_NE(nullptr, logPath) << "runs in vm.uvc, beside the emulated camera's log";
    const std::vector<std::string> nodes = CaptureNodes();
    int position = 0;
    for (V4l2CtlNode info; position < static_cast<int>(nodes.size()); ++position, info = {})
        if (QueryNode(nodes[position], &info) && info.driver == "uvcvideo")
            break;
    ASSERT_LT(position, static_cast<int>(nodes.size())) << "no uvcvideo capture node";
    Enumerate();
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, m_device->BindDevice(position, filter.ReleaseAndGetAddressOf()));
    // One write and its read-back, as the frame makes them, for the measurement.
    ComPtr<IAMVideoProcAmp> procAmp;
    ASSERT_EQ(S_OK, filter.As(IID_IAMVideoProcAmp, procAmp));
    QElapsedTimer clock;
    clock.start();
    LONG value = 0, flags = 0;
    ASSERT_EQ(S_OK, procAmp->Set(VideoProcAmp_Gain, 100, VideoProcAmp_Flags_Manual));
    ASSERT_EQ(S_OK, procAmp->Get(VideoProcAmp_Gain, &value, &flags));
    const qint64 oneWriteMs = clock.elapsed();
    const size_t logBefore = FileBytes(logPath).size();

    int positions = 0;
    qint64 dragMs = 0, longestStallMs = 0;
    WhenModalAppears(nullptr, [&](QWidget* frame) {
        auto* slider = qobject_cast<QSlider*>(FrameControl(frame, IDC_GAIN_SLIDER));
        if (slider == nullptr)
            return PressKey(frame, Qt::Key_Escape);
        // The frame's first paint, slow under emulation, is not what is measured.
        QTest::qWait(1000);
        // The event loop's longest stall during the drag: the longest gap
        // between two ticks.
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        qint64 last = clock.elapsed();
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestStallMs = std::max(longestStallMs, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start(1);
        const qint64 start = clock.elapsed();
        slider->setSliderDown(true);
        for (int p = slider->minimum(); p <= slider->maximum(); ++p, ++positions) {
            slider->setValue(p);
            QTest::qWait(4);
        }
        slider->setSliderDown(false);
        dragMs = clock.elapsed() - start;
        tick.stop();
        PressKey(frame, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([frame] { return !frame->isVisible(); }, kWaitMs));
    });
    EXPECT_EQ(S_OK, OpenPropertyFrame(filter.Get(), L"uvc"));

    // The camera's log lines of the gain: entity 2 (processing unit), selector 4.
    const std::string log = FileBytes(logPath).substr(logBefore);
    const std::string gain = "SET_CUR interface=0 entity=2 selector=4 data=";
    int writes = 0;
    std::string lastWrite;
    for (size_t at = log.find(gain); at != std::string::npos; at = log.find(gain, at + 1)) {
        ++writes;
        lastWrite = log.substr(at + gain.size(), log.find('\n', at) - at - gain.size());
    }
    EXPECT_GE(writes, 2);
    EXPECT_LE(writes, 2 + dragMs / CPropertyWriter::kPaceMs) << "a drag of " << dragMs << " ms";
    EXPECT_EQ("ff00", lastWrite); // 255, two bytes
    EXPECT_EQ(255, ListControls(nodes[position])["gain"].value);
    std::printf("frame: %d SET_CUR for a drag over %d positions in %lld ms; longest stall %lld ms, "
                "one write %lld ms\n",
                writes, positions, static_cast<long long>(dragMs),
                static_cast<long long>(longestStallMs), static_cast<long long>(oneWriteMs));
}

} // namespace
