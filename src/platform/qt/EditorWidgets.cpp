#include "platform/qt/EditorWidgets.h"

#include "platform/qt/QtWindowSystem.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QResizeEvent>
#include <QWheelEvent>

#include <optional>
#include <utility>

namespace sw::qt {

ClientArea::ClientArea(QtWindowSystem& system) : system_(system) {
    setFocusPolicy(Qt::StrongFocus);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    system_.routeSize(Window::Main, event->size().width(), event->size().height());
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    system_.routeKey(Window::Main, event, true);
}

void ClientArea::keyReleaseEvent(QKeyEvent* event) {
    system_.routeKey(Window::Main, event, false);
}

bool TextBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto combination = key->keyCombination();
        const bool ctrl = combination.keyboardModifiers().testFlag(Qt::ControlModifier);
        if (ctrl && (combination.key() == Qt::Key_Z || combination.key() == Qt::Key_Y)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

MainWindow::MainWindow(QtWindowSystem& system) : system_(system), client_(new ClientArea(system)) {
    setCentralWidget(client_);
    setFocusProxy(client_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    system_.routeClose(Window::Main);
}

ToolWindow::ToolWindow(QtWindowSystem& system, Window window, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      system_(system), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    system_.routeClose(window_);
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    if (focusWidget() == nullptr || focusWidget() == this)
        system_.routeKey(window_, event, true);
    else
        QWidget::keyPressEvent(event);
}

void ToolWindow::keyReleaseEvent(QKeyEvent* event) {
    if (focusWidget() == nullptr || focusWidget() == this)
        system_.routeKey(window_, event, false);
    else
        QWidget::keyReleaseEvent(event);
}

ListBox::ListBox(QWidget* parent, std::function<void()> chosen)
    : QListWidget(parent), chosen_(std::move(chosen)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(this, &QListWidget::currentRowChanged, [this] {
        if (!clicking_)
            chosen_();
    });
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
        command &= ~(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
        command |= QItemSelectionModel::ClearAndSelect;
    }
    return command;
}

// Only the left button chooses. The choice is reported once the press has made it, whether or
// not the row changed.
void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex row = indexAt(event->position().toPoint());
    clicking_ = true;
    QListWidget::mousePressEvent(event);
    clicking_ = false;
    if (row.isValid() && selectionModel()->isSelected(row))
        chosen_();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        QListWidget::mouseDoubleClickEvent(event);
    else
        event->accept();
}

YesNoBox::YesNoBox(Icon icon, const QString& caption, const QString& text, QWidget* owner)
    : QMessageBox(icon, caption, text, Yes | No, owner) {
    setDefaultButton(Yes);
}

void YesNoBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cancel))
        event->accept();
    else
        QMessageBox::keyPressEvent(event);
}

void YesNoBox::closeEvent(QCloseEvent* event) {
    event->ignore();
}

GlView::GlView(QtWindowSystem& system, QWidget* parent) : QOpenGLWidget(parent), system_(system) {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    setFormat(format);
    // The picture leaves the widget opaque: a clear colour with alpha 0 shows as black.
    setTextureFormat(0x8051); // GL_RGB8
    setMouseTracking(true);
}

void GlView::resizeGL(int width, int height) {
    system_.routeSize(Window::GlView, width, height);
}

void GlView::paintGL() {
    system_.routeFrame();
}

namespace {

// The buttons the view's events name; the right one does nothing there.
std::optional<PointerButton> buttonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton)
        return PointerButton::Left;
    if (button == Qt::MiddleButton)
        return PointerButton::Middle;
    return std::nullopt;
}

} // namespace

// The view does not hold on to the pointer while a button is down: moves and a release
// outside it are not the view's, as they would not be without a capture. Positions are in
// logical pixels, fractions on a scaled screen included.
void GlView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (!rect().contains(at.toPoint()))
        return;
    const PointerState state{event->buttons().testFlag(Qt::LeftButton),
                             event->buttons().testFlag(Qt::MiddleButton),
                             event->modifiers().testFlag(Qt::ControlModifier)};
    system_.routePointerMove(at.x(), at.y(), state);
}

void GlView::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (const auto button = buttonOf(event->button()))
        system_.routePointerButton(true, at.x(), at.y(), *button);
}

void GlView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (const auto button = buttonOf(event->button()); button && rect().contains(at.toPoint()))
        system_.routePointerButton(false, at.x(), at.y(), *button);
}

// A notch of a wheel is 120 eighths of a degree; finer wheels and touch pads give fractions.
void GlView::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    const int delta = event->angleDelta().y();
    if (delta != 0)
        system_.routeWheel(at.x(), at.y(), delta / 120.0);
    event->accept();
}

} // namespace sw::qt
