#include "gui/EditorApp.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QWindow>
#include <gtest/gtest.h>

namespace sw::test {
namespace {

// The room a widget has for its text, as its style lays it out, or nothing for a widget that
// shows no text of its own.
std::optional<QRect> textRoom(const QWidget* widget) {
    QStyle* style = widget->style();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QStyle::SubElement element =
            qobject_cast<const QCheckBox*>(widget)      ? QStyle::SE_CheckBoxContents
            : qobject_cast<const QRadioButton*>(widget) ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_PushButtonContents;
        return style->subElementRect(element, &option, button);
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->contentsRect();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        // The title sits on the frame, indented from its left end and clear of its right.
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect title =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        return QRect(title.left(), title.top(), group->width() - 2 * title.left(), title.height());
    }
    return std::nullopt;
}

QString textOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

// Every caption of the three windows and the menu bar shows whole in the font the program
// chose, at the sizes the windows give their controls.
TEST(Labels, EveryCaptionOfTheThreeWindowsReadsWhole) {
    gui::EditorApp editor;
    ASSERT_TRUE(editor.start());
    editor.shell().onCommand(ControlId::MenuPreferences, Notification::Clicked);
    qt::QtWindowSystem& windows = editor.windows();
    for (const Window window : {Window::Main, Window::Controls, Window::Options}) {
        QWidget* top = windows.widget(window);
        ASSERT_TRUE(
            waitFor([top] { return top->isVisible() && top->windowHandle()->isExposed(); }));
        for (const QWidget* widget : top->findChildren<QWidget*>()) {
            const std::optional<QRect> room = textRoom(widget);
            const QString text = textOf(widget);
            if (!room || text.isEmpty())
                continue;
            const QFontMetrics metrics(widget->font());
            EXPECT_LE(metrics.horizontalAdvance(QString(text).remove('&')), room->width())
                << text.toStdString() << " in " << room->width() << " pixels";
            EXPECT_LE(metrics.height(), widget->height()) << text.toStdString();
        }
    }
    // The menu bar holds its items and the corner item side by side.
    const QMenuBar* bar = windows.menuBar();
    EXPECT_LE(bar->sizeHint().width(), bar->width());
    EXPECT_TRUE(windows.widget(Window::Options)
                    ->grab()
                    .save(QString(SW_GUI_OUTPUT_DIR) + "/skinweaver-preferences.png"));
    EXPECT_TRUE(windows.widget(Window::Controls)
                    ->grab()
                    .save(QString(SW_GUI_OUTPUT_DIR) + "/skinweaver-controls.png"));
}

} // namespace
} // namespace sw::test
