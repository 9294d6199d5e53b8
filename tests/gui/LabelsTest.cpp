#include "gui/EditorApp.h"
#include "support/Desktop.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <gtest/gtest.h>

namespace sw::test {
namespace {

// A widget's own text and the room its style lays out for it, or nothing for a widget that
// shows no text of its own.
std::optional<std::pair<QString, QRect>> captionOf(const QWidget* widget) {
    QStyle* style = widget->style();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QStyle::SubElement element =
            qobject_cast<const QCheckBox*>(widget)      ? QStyle::SE_CheckBoxContents
            : qobject_cast<const QRadioButton*>(widget) ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_PushButtonContents;
        return std::pair(button->text(), style->subElementRect(element, &option, button));
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return std::pair(label->text(), label->contentsRect());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        // The title sits on the frame, indented from its left end and clear of its right.
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        return std::pair(group->title(), QRect(title.left(), title.top(),
                                               group->width() - 2 * title.left(), title.height()));
    }
    return std::nullopt;
}

QStringList menuBarTexts(const QMenuBar* bar) {
    QStringList texts;
    for (const QAction* action : bar->actions())
        texts << action->text();
    // The item drawn at the right end lives in a bar of its own in the corner.
    if (const auto* corner = qobject_cast<const QMenuBar*>(bar->cornerWidget(Qt::TopRightCorner)))
        texts << menuBarTexts(corner);
    return texts;
}

// Started without a model: the menu, the control panel greyed, the Preferences window hidden,
// and the view black where it is cleared while the window around it is not. Then every caption
// of the three windows and the menu bar shows whole in the font the program chose, at the sizes
// the windows give their controls. Leaves pictures of the tool windows beside the test program.
TEST(Labels, StartsGreyedAndEveryCaptionOfTheThreeWindowsReadsWhole) {
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    qt::QtWindowSystem& windows = editor.windows();
    QWidget* main = windows.widget(Window::Main);
    ASSERT_TRUE(waitForExposed(main));
    EXPECT_FALSE(windows.widget(Window::Options)->isVisible());
    EXPECT_EQ(menuBarTexts(windows.menuBar()), (QStringList{"&File", "&Options", "&About..."}));
    const auto buttons = windows.widget(Window::Controls)->findChildren<QAbstractButton*>();
    EXPECT_EQ(buttons.size(), 23); // 20 push buttons and 3 radio buttons
    for (const QAbstractButton* button : buttons)
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(windows.widget(ControlId::AxisXY))->isChecked());
    QWidget* view = windows.widget(ControlId::GlView);
    const QPoint viewCentre = view->mapToGlobal(view->rect().center());
    QImage screen;
    ASSERT_TRUE(waitFor([&] {
        screen = grabScreen();
        return isBlack(screen.pixel(viewCentre));
    }));
    EXPECT_FALSE(
        isBlack(screen.pixel(main->mapToGlobal(QPoint(main->width() - 3, main->height() - 3)))));

    editor.shell().onCommand(ControlId::MenuPreferences, Notification::Clicked);
    for (const Window window : {Window::Main, Window::Controls, Window::Options}) {
        QWidget* top = windows.widget(window);
        ASSERT_TRUE(waitForExposed(top));
        for (const QWidget* widget : top->findChildren<QWidget*>()) {
            const auto caption = captionOf(widget);
            if (!caption || caption->first.isEmpty())
                continue;
            const auto& [text, room] = *caption;
            const QFontMetrics metrics(widget->font());
            EXPECT_LE(metrics.horizontalAdvance(QString(text).remove('&')), room.width())
                << text.toStdString() << " in " << room.width() << " pixels";
            EXPECT_LE(metrics.height(), widget->height()) << text.toStdString();
        }
    }
    // The menu bar holds its items and the corner item side by side.
    const QMenuBar* bar = windows.menuBar();
    EXPECT_LE(bar->sizeHint().width(), bar->width());

    // The sources window over the samples' folder and an archive that is gone.
    const std::string samples = SW_SAMPLES_DIR;
    editor.shell().state.textureLoader.setSources({samples, samples + "/Res2.gob"});
    editor.shell().onCommand(ControlId::MenuTextureSources, Notification::Clicked);
    ASSERT_TRUE(waitForExposed(windows.widget(Window::Sources)));
    for (const auto& [window, name] : {std::pair{Window::Options, "preferences"},
                                       {Window::Controls, "controls"},
                                       {Window::Sources, "sources"}})
        EXPECT_TRUE(windows.widget(window)->grab().save(QString(SW_GUI_OUTPUT_DIR) +
                                                        "/skinweaver-" + name + ".png"));
}

} // namespace
} // namespace sw::test
