// Start-up of the application to a drawn symbol, and keystroke to redrawn view,
// for a 60-character Code 128 on Qt's offscreen platform.
//   app_startup [keystrokes]   (default 200)
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/application.h"
#include "app/inputbarwidget.h"
#include "app/proofindicator.h"
#include "app/vglview.h"
#include "entry/pipeline.h"
#include "model/symbolsettings.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

const char kData[] = "VORNEL GLYPH 0123456789 CODE 128 KEYSTROKE BENCH abcdefghijk";  // 60 characters

}  // namespace

int main(int argc, char** argv) {
    const auto start = Clock::now();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;

    // A profile that holds the Code 128 symbol, as the last run left it.
    vg::MemoryProfileStore profile;
    profile.WriteInt("Family", 2);
    profile.WriteInt("Variation", 6);
    profile.WriteString("Variation Name-", "Code 128 Optimized General");
    profile.WriteString("OriginalMainText-", kData);
    profile.WriteInt("IgnoreSpaces", 0);
    const auto appMade = Clock::now();
    auto frame = vg::StartApplication({}, profile, {VGL_KITLET_DIR});
    vg::CVGLView& view = frame->View();
    view.repaint();
    while (!view.DrewSymbol()) {
        QApplication::processEvents();
        view.repaint();
    }
    const auto drawn = Clock::now();
    std::printf("start-up to drawn symbol: %.1f ms (of which the window and first draw %.1f ms)\n", Ms(drawn - start),
                Ms(drawn - appMade));

    QLineEdit* edit = frame->BarWidget().Edit(frame->Bar().ControlFor(vg::FieldRole::Main));
    if (!edit || edit->text().size() != 60) {
        std::fprintf(stderr, "app_startup: the main field does not hold the 60 characters\n");
        return 1;
    }
    edit->setFocus();
    edit->end(false);
    std::vector<double> times;
    for (int i = 0; i < keystrokes; ++i) {
        // Alternately delete and type the last character: 59 and 60 characters.
        const auto t0 = Clock::now();
        if (i % 2 == 0)
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClick(edit, 'k');
        view.repaint();
        times.push_back(Ms(Clock::now() - t0));
        if (!view.DrewSymbol()) {
            std::fprintf(stderr, "app_startup: keystroke %d left no symbol\n", i);
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("keystroke to redrawn view over %d keystrokes: median %.2f ms, 95th percentile %.2f ms, max %.2f ms\n",
                keystrokes, times[times.size() / 2], times[times.size() * 95 / 100], times.back());

    // Typing that pauses: the status bar's proof is captured on this thread
    // after the pause and decoded on a worker while the next keys come.
    vg::ProofIndicator& proof = frame->Proof();
    int proven = 0;
    QObject::connect(&proof, &vg::ProofIndicator::Proven, [&proven] { ++proven; });
    std::vector<double> paused;
    const int pauses = std::min(keystrokes, 20);
    for (int i = 0; i < pauses; ++i) {
        const auto until = Clock::now() + std::chrono::milliseconds(vg::ProofIndicator::kPauseMs + 5);
        while (Clock::now() < until) QApplication::processEvents(QEventLoop::AllEvents, 5);
        const auto t0 = Clock::now();
        QTest::keyClick(edit, i % 2 == 0 ? Qt::Key_Backspace : Qt::Key_K);
        view.repaint();
        paused.push_back(Ms(Clock::now() - t0));
    }
    std::sort(paused.begin(), paused.end());
    // The last change is proven once typing stops.
    const auto settled = Clock::now() + std::chrono::seconds(10);
    while (proven == 0 && Clock::now() < settled) QApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto c0 = Clock::now();
    const vg::ProofJob job = vg::CaptureProof();
    const double capture = Ms(Clock::now() - c0);
    std::printf(
        "keystroke while the paused text is proven (capture %.2f ms on this thread): median %.2f ms, "
        "max %.2f ms; then shown: %s\n",
        capture, paused[paused.size() / 2], paused.back(), proof.text().toUtf8().constData());
    return 0;
}
