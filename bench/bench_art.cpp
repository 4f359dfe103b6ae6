// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the artwork takes to draw: each window's background at device pixel ratios 1 and 2,
// the 52 cards, the 14 button faces, the program icon's sizes and the four pointers. Every run
// draws fresh pictures (never a kept one); the figures are the median and the quickest of the
// runs, in ms. On a shared machine the quickest is the steadier of the two. It links the
// artwork alone, not the windows, so the image store's and the icon engine's keeping of
// pictures is not timed here.
//
// Usage: bench_art [runs]   (QT_QPA_PLATFORM is offscreen unless set)
#include "ui/art/art.h"
#include "ui/art/render.h"
#include "ui/layout.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

struct Times
{
    double median, quickest;
};

// The median and quickest time of one call, in ms, over the given number of runs.
Times timesMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

void report(const char *what, Times ms)
{
    std::printf("%-38s %8.2f ms  (quickest %.2f)\n", what, ms.median, ms.quickest);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    // Fonts and the paint engine are set up once per process; keep that out of the figures.
    (void)art::renderImage(art::FaceSize, 1.0,
                           [](QPainter &p) { art::paintButtonFace(p, "Begin", false); });

    for (const ui::layout::WindowLayout *window :
         {&ui::layout::frmQuintagrid, &ui::layout::frmHighScores, &ui::layout::frmEnterName,
          &ui::layout::frmAbout}) {
        for (qreal ratio : {1.0, 2.0}) {
            const Times ms = timesMs(runs, [&] {
                (void)art::renderImage(window->size(), ratio,
                                       [window](QPainter &p) { art::paintBackground(p, *window); });
            });
            char what[64];
            std::snprintf(what, sizeof what, "background %s %dx%d @%g", window->name.data(),
                          window->size().width(), window->size().height(), ratio);
            report(what, ms);
        }
    }

    for (qreal ratio : {1.0, 2.0}) {
        char what[64];
        std::snprintf(what, sizeof what, "52 cards @%g", ratio);
        report(what, timesMs(runs, [ratio] {
                   for (int index = 1; index <= 52; ++index) {
                       (void)art::renderImage(art::CardSize, ratio, [index](QPainter &p) {
                           art::paintCard(p, static_cast<game::CardId>(index));
                       });
                   }
               }));
        std::snprintf(what, sizeof what, "14 faces @%g", ratio);
        report(what, timesMs(runs, [ratio] {
                   for (const char *word :
                        {"Begin", "Exit", "High Scores", "Minimize", "About", "OK", "Clear"}) {
                       for (bool pressed : {false, true}) {
                           (void)art::renderImage(art::FaceSize, ratio, [&](QPainter &p) {
                               art::paintButtonFace(p, word, pressed);
                           });
                       }
                   }
               }));
    }

    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        char what[64];
        std::snprintf(what, sizeof what, "icon %d", side);
        report(what, timesMs(runs, [side] {
                   (void)art::renderImage(QSize(side, side), 1.0,
                                          [side](QPainter &p) { art::paintIcon(p, side); });
               }));
    }

    for (qreal ratio : {1.0, 2.0}) {
        char what[64];
        std::snprintf(what, sizeof what, "4 pointers @%g", ratio);
        report(what, timesMs(runs, [ratio] {
                   for (art::Pointer pointer : {art::Pointer::Grab, art::Pointer::Point,
                                                art::Pointer::Place, art::Pointer::Open})
                       (void)art::renderImage(art::PointerSize, ratio, [pointer](QPainter &p) {
                           art::paintPointer(p, pointer);
                       });
               }));
    }
    return 0;
}
