// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The image store's pictures and the artwork around them: which picture is which, that the
// pictures tell apart what they must, that they are drawn at the screen's resolution, and that
// the window backgrounds are cut where the layout puts the controls.
#include "ui/art/art.h"
#include "ui/art/drawing.h"
#include "ui/artwork.h"
#include "ui/frmcards.h"
#include "ui/layout.h"

#include "ui/platform/windowsystem.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <vector>

Q_DECLARE_METATYPE(art::Pointer)
Q_DECLARE_METATYPE(ui::Face)

namespace {

QImage imageOf(const ui::Picture &picture, qreal ratio = 1.0)
{
    return picture.pixmap(ratio).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Mean lightness of one row of pixels, from x0 to x1 inclusive.
double rowLightness(const QImage &image, int y, int x0, int x1)
{
    double sum = 0;
    for (int x = x0; x <= x1; ++x)
        sum += QColor(image.pixel(x, y)).lightnessF();
    return sum / (x1 - x0 + 1);
}

double lightness(const QImage &image, QPointF logical)
{
    const qreal ratio = image.devicePixelRatio();
    return QColor(image.pixel(int(logical.x() * ratio), int(logical.y() * ratio))).lightnessF();
}

const ui::layout::WindowLayout &windowNamed(const QByteArray &name)
{
    for (const ui::layout::WindowLayout *window :
         {&ui::layout::frmQuintagrid, &ui::layout::frmHighScores, &ui::layout::frmEnterName,
          &ui::layout::frmAbout}) {
        if (window->name == name.toStdString())
            return *window;
    }
    throw "no such window";
}

} // namespace

class ImageStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void cardPictureIndexFollowsSuitBlockAndRank_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 is the first of Hearts") << 0 << "Ace of Hearts";
        QTest::newRow("13 is the first of Spades") << 13 << "Ace of Spades";
        QTest::newRow("26 is the first of Diamonds") << 26 << "Ace of Diamonds";
        QTest::newRow("39 is the first of Clubs") << 39 << "Ace of Clubs";
        QTest::newRow("51 is the last of Clubs") << 51 << "King of Clubs";
        QTest::newRow("9 is the tenth of Hearts") << 9 << "10 of Hearts";
        QTest::newRow("24 is the twelfth of Spades") << 24 << "Queen of Spades";
        QTest::newRow("49 is the eleventh of Clubs") << 49 << "Jack of Clubs";
    }

    void cardPictureIndexFollowsSuitBlockAndRank()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        const ui::frmCards store;
        QCOMPARE(store.picCard(index)->description(), name);
    }

    void everyCardPictureDiffersFromEveryOther()
    {
        const ui::frmCards store;
        std::vector<QImage> images;
        for (int index = 0; index < game::DeckSize; ++index)
            images.push_back(imageOf(*store.picCard(index)));
        for (int a = 0; a < game::DeckSize; ++a) {
            for (int b = a + 1; b < game::DeckSize; ++b) {
                QVERIFY2(images[a] != images[b],
                         qPrintable(store.picCard(a)->description() + " looks like "
                                    + store.picCard(b)->description()));
            }
        }
    }

    void blankPictureHoldsNothing()
    {
        const ui::frmCards store;
        QVERIFY(!store.picture(ui::Face::Blank));
        for (const ui::FacePair faces : ui::ButtonFaces) {
            QVERIFY(store.picture(faces.released));
            QVERIFY(store.picture(faces.pressed));
        }
    }

    void facePairShowsOneWordInTwoStates_data() { facePairs(); }

    void facePairShowsOneWordInTwoStates()
    {
        QFETCH(ui::Face, released);
        QFETCH(ui::Face, pressed);
        QFETCH(QString, word);
        const ui::frmCards store;
        const ui::Picture &up = *store.picture(released);
        const ui::Picture &down = *store.picture(pressed);
        QCOMPARE(up.size(), art::FaceSize);
        QCOMPARE(down.size(), up.size());
        QCOMPARE(up.description().section(u',', 0, 0), word);
        QCOMPARE(down.description().section(u',', 0, 0), word);
        QVERIFY(up.description() != down.description());
        QVERIFY(imageOf(up) != imageOf(down));
    }

    void releasedFaceIsLitFromAboveAndPressedFaceFromBelow_data() { facePairs(); }

    void releasedFaceIsLitFromAboveAndPressedFaceFromBelow()
    {
        QFETCH(ui::Face, released);
        QFETCH(ui::Face, pressed);
        const ui::frmCards store;
        // The bevel rows just inside the face's dark rim.
        const int top = 1, bottom = art::FaceSize.height() - 2, last = art::FaceSize.width() - 3;
        const QImage up = imageOf(*store.picture(released));
        const QImage down = imageOf(*store.picture(pressed));
        QVERIFY(rowLightness(up, top, 2, last) > rowLightness(up, bottom, 2, last));
        QVERIFY(rowLightness(down, top, 2, last) < rowLightness(down, bottom, 2, last));
    }

    void picturesAreDrawnAtTheDevicePixelRatio_data()
    {
        QTest::addColumn<int>("entry"); // a card index, or minus a face's store number
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("Queen of Spades at 2") << 24 << 2.0;
        QTest::newRow("Ace of Hearts at 1.5") << 0 << 1.5;
        QTest::newRow("High Scores face at 2") << -int(ui::Face::HighScoresReleased) << 2.0;
        QTest::newRow("Clear face, pressed, at 1.5") << -int(ui::Face::ClearPressed) << 1.5;
    }

    void picturesAreDrawnAtTheDevicePixelRatio()
    {
        QFETCH(int, entry);
        QFETCH(qreal, ratio);
        const ui::frmCards store;
        const ui::Picture &picture =
            entry >= 0 ? *store.picCard(entry) : *store.picture(ui::Face(-entry));
        const QPixmap fine = picture.pixmap(ratio);
        QCOMPARE(fine.size(),
                 QSize(int(std::ceil(picture.size().width() * ratio)),
                       int(std::ceil(picture.size().height() * ratio))));
        QCOMPARE(fine.devicePixelRatio(), ratio);
        QCOMPARE(fine.deviceIndependentSize().toSize(), picture.size());
        // Drawn anew at the finer resolution, not the coarse picture enlarged.
        const QImage coarse = imageOf(picture, 1.0);
        const QImage image = imageOf(picture, ratio);
        QVERIFY(image
                != coarse.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
        QVERIFY(image
                != coarse.scaled(image.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }

    void cardFacesAreDrawnAheadOnceTheWindowHasPainted()
    {
        const ui::frmCards store;
        QWidget window;
        window.resize(art::CardSize);
        store.drawCardsAfterFirstPaint(&window);
        const qreal ratio = window.devicePixelRatioF();
        const auto drawn = [&] {
            int count = 0;
            for (int index = 0; index < game::DeckSize; ++index)
                count += store.picCard(index)->isDrawn(ratio) ? 1 : 0;
            return count;
        };
        QCoreApplication::processEvents();
        QCOMPARE(drawn(), 0); // nothing before the first frame
        window.show();
        QTRY_COMPARE(drawn(), game::DeckSize);
    }

    void backgroundIsCutOpenAroundEveryControl_data()
    {
        QTest::addColumn<QByteArray>("window");
        QTest::addColumn<qreal>("ratio");
        for (const char *name : {"frmQuintagrid", "frmHighScores", "frmEnterName", "frmAbout"}) {
            for (qreal ratio : {1.0, 2.0}) {
                QTest::addRow("%s at %g", name, ratio) << QByteArray(name) << ratio;
            }
        }
    }

    // The pixels next to each side of a control are the light floor of its opening, while the
    // board away from every control is darker wood.
    void backgroundIsCutOpenAroundEveryControl()
    {
        QFETCH(QByteArray, window);
        QFETCH(qreal, ratio);
        const ui::layout::WindowLayout &layout = windowNamed(window);
        const QImage background = imageOf(*ui::backgroundPicture(layout), ratio);
        QCOMPARE(background.size(), layout.size() * ratio);

        // Wood: points well inside the board and well away from every control and decoration.
        std::vector<QRectF> keepClear;
        for (const ui::layout::Control &control : layout.controls)
            keepClear.push_back(QRectF(control.rect()).adjusted(-12, -12, 12, 12));
        if (layout.name == ui::layout::frmAbout.name) {
            keepClear.push_back(QRectF(ui::layout::AboutBanner).adjusted(-8, -8, 8, 8));
            keepClear.push_back(QRectF(ui::layout::AboutFan).adjusted(-8, -8, 8, 8));
        }
        double wood = 0;
        int woodSamples = 0;
        const QRectF inner = QRectF(QPointF(0, 0), layout.size()).adjusted(7, 7, -7, -7);
        for (qreal y = inner.top(); y <= inner.bottom(); y += 3) {
            for (qreal x = inner.left(); x <= inner.right(); x += 3) {
                const QPointF at(x, y);
                if (std::none_of(keepClear.begin(), keepClear.end(),
                                 [&](const QRectF &r) { return r.contains(at); })) {
                    wood += lightness(background, at);
                    ++woodSamples;
                }
            }
        }
        QVERIFY(woodSamples > 20);
        wood /= woodSamples;

        for (const ui::layout::Control &control : layout.controls) {
            const QRectF r(control.rect());
            const std::array<QPointF, 4> around = {
                QPointF(r.center().x(), r.top() - 0.5), QPointF(r.center().x(), r.bottom() + 0.5),
                QPointF(r.left() - 0.5, r.center().y()), QPointF(r.right() + 0.5, r.center().y())};
            for (const QPointF &at : around) {
                QVERIFY2(lightness(background, at) > wood + 0.15,
                         qPrintable(
                             QStringLiteral("%1(%2) is not in an opening at %3, %4")
                                 .arg(QString::fromLatin1(control.name.data(), control.name.size()))
                                 .arg(control.index)
                                 .arg(at.x())
                                 .arg(at.y())));
            }
        }
    }

    void backgroundDrawnTwiceIsTheSame_data()
    {
        QTest::addColumn<QByteArray>("window");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("frmQuintagrid at 1") << QByteArray("frmQuintagrid") << 1.0;
        QTest::newRow("frmQuintagrid at 2") << QByteArray("frmQuintagrid") << 2.0;
        QTest::newRow("frmEnterName at 1.5") << QByteArray("frmEnterName") << 1.5;
    }

    // Every pixel comes from the window's seeds and the layout, nothing from what memory
    // happened to hold: another window drawn in between leaves no trace.
    void backgroundDrawnTwiceIsTheSame()
    {
        QFETCH(QByteArray, window);
        QFETCH(qreal, ratio);
        const auto draw = [&](const ui::layout::WindowLayout &layout) {
            return ui::renderPixmap(layout.size(), ratio,
                                    [&](QPainter &p) { art::paintBackground(p, layout); })
                .toImage();
        };
        const QImage first = draw(windowNamed(window));
        (void)draw(ui::layout::frmAbout);
        QVERIFY(first == draw(windowNamed(window)));
    }

    void pictureDrawnAheadIsTheOneDrawnInPlace_data()
    {
        QTest::addColumn<QByteArray>("what");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("seeThrough");
        QTest::newRow("the main window's wood at 1") << QByteArray("wood") << 1.0 << false;
        QTest::newRow("the main window's wood at 2") << QByteArray("wood") << 2.0 << false;
        QTest::newRow("a card at 1.5") << QByteArray("card") << 1.5 << false;
        QTest::newRow("a disc on nothing at 1") << QByteArray("disc") << 1.0 << true;
    }

    // Drawn on a worker, a picture reaches the screen with the same pixels, in the same
    // format, as one drawn when it is first shown.
    void pictureDrawnAheadIsTheOneDrawnInPlace()
    {
        QFETCH(QByteArray, what);
        QFETCH(qreal, ratio);
        QFETCH(bool, seeThrough);
        const ui::Picture::Painter painter = [what](QPainter &p) {
            if (what == "wood")
                art::paintBackground(p, ui::layout::frmQuintagrid);
            else if (what == "card")
                art::paintCard(p, game::CardId(12));
            else
                p.drawEllipse(2, 2, 20, 20);
        };
        const QSize size = what == "wood" ? ui::layout::frmQuintagrid.size() : art::CardSize;
        const ui::Picture ahead(QString(), size, painter);
        const ui::Picture inPlace(QString(), size, painter);
        ahead.drawAhead(ratio);
        const QImage expected = inPlace.pixmap(ratio).toImage();
        QCOMPARE(ahead.pixmap(ratio).toImage(), expected);
        QCOMPARE(expected.hasAlphaChannel(), seeThrough);
    }

    void pictureDrawnWithinARegionMatchesTheWholeThere_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("at 1") << 1.0;
        QTest::newRow("at 1.5") << 1.5;
        QTest::newRow("at 2") << 2.0;
    }

    // A window repaints its background only where asked, a rectangle at a time: each part
    // shows the picture's own pixels there, and nothing is drawn outside the region.
    void pictureDrawnWithinARegionMatchesTheWholeThere()
    {
        QFETCH(qreal, ratio);
        const ui::PictureRef picture = ui::backgroundPicture(ui::layout::frmEnterName);
        const QRegion region = QRegion(10, 12, 40, 30) + QRegion(100, 50, 60, 20);
        const auto drawn = [&](bool whole) {
            QImage image(picture->size() * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::black);
            QPainter painter(&image);
            if (whole)
                picture->draw(painter, 0, 0);
            else
                picture->draw(painter, region);
            return image;
        };
        const QImage whole = drawn(true);
        const QImage parts = drawn(false);
        for (const QPoint at :
             {QPoint(10, 12), QPoint(49, 41), QPoint(100, 50), QPoint(159, 69), QPoint(30, 25),
              QPoint(9, 12), QPoint(50, 41), QPoint(99, 50), QPoint(130, 70)}) {
            const QPoint pixel = (QPointF(at) * ratio).toPoint();
            const QRgb expected = region.contains(at) ? whole.pixel(pixel) : qRgb(0, 0, 0);
            QCOMPARE(parts.pixel(pixel), expected);
        }
    }

    void woodIsLeftOutOnlyWhereItIsHidden_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("at 1") << 1.0;
        QTest::newRow("at 1.5") << 1.5;
        QTest::newRow("at 2") << 2.0;
    }

    // Hiding parts of the wood changes nothing outside them: the grain that shows is the grain
    // of the whole piece.
    void woodIsLeftOutOnlyWhereItIsHidden()
    {
        QFETCH(qreal, ratio);
        const QSize size(200, 120);
        // Apart, side by side, and side by side with a gap of two pixels.
        const std::array<QRectF, 7> hidden = {{{20, 10, 60, 40},
                                               {90.5, 30.25, 49, 17},
                                               {10, 80, 180, 30},
                                               {150, 5, 20, 20},
                                               {170, 5, 25, 20},
                                               {150, 50, 20, 20},
                                               {172, 50, 20, 20}}};
        const auto draw = [&](std::span<const QRectF> leftOut) {
            return ui::renderPixmap(size, ratio,
                                    [&](QPainter &p) {
                                        art::drawing::paintWood(p, QRectF(QPointF(0, 0), size), 7,
                                                                art::drawing::BoardWood, leftOut);
                                    })
                .toImage();
        };
        const QImage whole = draw({});
        const QImage partly = draw(hidden);
        bool anyHiddenPixelDiffers = false;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                const QRectF pixel(x / ratio, y / ratio, 1 / ratio, 1 / ratio);
                const bool hiddenWholly = std::any_of(hidden.begin(), hidden.end(),
                                                      [&](auto &r) { return r.contains(pixel); });
                const QRgb a = whole.pixel(x, y), b = partly.pixel(x, y);
                const int difference =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
                if (hiddenWholly)
                    anyHiddenPixelDiffers = anyHiddenPixelDiffers || difference > 0;
                else
                    QVERIFY2(difference <= 1,
                             qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
        }
        QVERIFY(anyHiddenPixelDiffers);
    }

    void pointerHotSpotIsOnTheHand_data()
    {
        QTest::addColumn<art::Pointer>("pointer");
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("grab at 1") << art::Pointer::Grab << 1.0;
        QTest::newRow("point at 1") << art::Pointer::Point << 1.0;
        QTest::newRow("place at 1") << art::Pointer::Place << 1.0;
        QTest::newRow("open at 1") << art::Pointer::Open << 1.0;
        QTest::newRow("point at 2") << art::Pointer::Point << 2.0;
        QTest::newRow("place at 1.5") << art::Pointer::Place << 1.5;
    }

    // The pixel that points is part of the drawing, not the air beside it.
    void pointerHotSpotIsOnTheHand()
    {
        QFETCH(art::Pointer, pointer);
        QFETCH(qreal, ratio);
        const QImage hand = ui::renderPixmap(art::PointerSize, ratio, [pointer](QPainter &p) {
                                art::paintPointer(p, pointer);
                            }).toImage();
        const QPoint hot = art::pointerHotSpot(pointer);
        const QPoint device(int((hot.x() + 0.5) * ratio), int((hot.y() + 0.5) * ratio));
        QVERIFY(QRect(QPoint(0, 0), art::PointerSize).contains(hot));
        QVERIFY(qAlpha(hand.pixel(device)) > 128);
    }

    void cursorHotSpotNamesTheImagePixelOnX11_data()
    {
        QTest::addColumn<QPoint>("hotSpot");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QString>("platformName");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("X11 at 1 keeps the pixel") << QPoint(12, 3) << 1.0 << "xcb" << QPoint(12, 3);
        QTest::newRow("X11 at 2 doubles it") << QPoint(12, 8) << 2.0 << "xcb" << QPoint(25, 17);
        QTest::newRow("X11 at 1.5 takes the pixel's centre")
            << QPoint(9, 3) << 1.5 << "xcb" << QPoint(14, 5);
        QTest::newRow("Wayland scales it itself")
            << QPoint(12, 3) << 2.0 << "wayland" << QPoint(12, 3);
    }

    void cursorHotSpotNamesTheImagePixelOnX11()
    {
        QFETCH(QPoint, hotSpot);
        QFETCH(qreal, ratio);
        QFETCH(QString, platformName);
        QFETCH(QPoint, expected);
        QCOMPARE(platform::cursorHotSpot(hotSpot, ratio, platformName), expected);
    }

private:
    static void facePairs()
    {
        QTest::addColumn<ui::Face>("released");
        QTest::addColumn<ui::Face>("pressed");
        QTest::addColumn<QString>("word");
        const auto row = [](const char *word, ui::FacePair faces) {
            QTest::newRow(word) << faces.released << faces.pressed << QString::fromLatin1(word);
        };
        row("Begin", ui::BeginFaces);
        row("Exit", ui::ExitFaces);
        row("High Scores", ui::HighScoresFaces);
        row("Minimize", ui::MinimizeFaces);
        row("About", ui::AboutFaces);
        row("OK", ui::OkFaces);
        row("Clear", ui::ClearFaces);
    }
};

QTEST_MAIN(ImageStoreTest)
#include "tst_imagestore.moc"
