#include "platform/qt/QtWindowSystem.h"

#include "platform/qt/EditorWidgets.h"
#include "platform/qt/KeyCodes.h"

#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSurfaceFormat>
#include <QTimer>

namespace sw::qt {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The request a scroll bar action stands for; nothing for an action that asks for nothing.
std::optional<ScrollRequest> requestFor(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return ScrollRequest::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return ScrollRequest::LineDown;
    case QAbstractSlider::SliderPageStepSub:
        return ScrollRequest::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return ScrollRequest::PageDown;
    case QAbstractSlider::SliderToMinimum:
        return ScrollRequest::Top;
    case QAbstractSlider::SliderToMaximum:
        return ScrollRequest::Bottom;
    case QAbstractSlider::SliderMove:
        return ScrollRequest::ThumbTrack;
    default:
        return std::nullopt;
    }
}

// The font of the classic dialogs where the system has it. Elsewhere a narrow sans-serif
// stands in for it (Debian's fonts-liberation): its widths come close to the classic font's,
// so the captions fit the small controls sized for that one. Without either, the system's
// own. In each case as large as fits a character cell of cellHeight pixels, ascent plus
// descent.
constexpr const char* kStandInFamily = "Liberation Sans Narrow";

QFont uiFont(const std::string& face, int cellHeight) {
    QFont font(qs(face));
    font.setStyleHint(QFont::SansSerif);
    if (!QFontDatabase::hasFamily(qs(face))) {
        font.setFamily(QFontDatabase::hasFamily(kStandInFamily)
                           ? QString(kStandInFamily)
                           : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    }
    int pixelSize = cellHeight;
    font.setPixelSize(pixelSize);
    while (pixelSize > 6 && QFontMetrics(font).height() > cellHeight) {
        --pixelSize;
        font.setPixelSize(pixelSize);
    }
    return font;
}

// The tool windows' controls are laid out for the classic dialog look: captions that fill
// their small buttons, and group titles that sit on the group's frame.
constexpr const char* kToolWindowStyle =
    "QPushButton { padding: 0px; }"
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
    " left: 6px; padding: 0px 2px; }";

// The patterns of a filter ("*.mat;*.bmp") in lower and in upper case: names of files made on
// Windows, where case does not matter, come in either, and not every dialog a desktop provides
// matches without regard to it.
QStringList bothCases(const QString& patterns) {
    QStringList all;
    for (const QString& pattern : patterns.split(';', Qt::SkipEmptyParts)) {
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
            if (!all.contains(variant))
                all << variant;
    }
    return all;
}

} // namespace

QtWindowSystem::QtWindowSystem() = default;

QtWindowSystem::~QtWindowSystem() {
    sink_ = nullptr;
    main_.reset();
}

void QtWindowSystem::setDefaultSurfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(16);
    format.setStencilBufferSize(0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
}

QWidget* QtWindowSystem::widget(Window window) const {
    if (window == Window::Main)
        return main_.get();
    if (window == Window::GlView)
        return glView_;
    const auto it = toolWindows_.find(window);
    return it == toolWindows_.end() ? nullptr : it->second.data();
}

QWidget* QtWindowSystem::widget(ControlId id) const {
    return control(id);
}

QMenuBar* QtWindowSystem::menuBar() const {
    return main_ ? main_->menuBar() : nullptr;
}

QWidget* QtWindowSystem::control(ControlId id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.data();
}

QWidget* QtWindowSystem::parentFor(Window window) const {
    if (window == Window::Main)
        return main_ ? main_->client() : nullptr;
    return widget(window);
}

// A modal loop paints the windows, which leaves another context current; the handler that
// opened the box or dialog may go on to draw or upload textures.
void QtWindowSystem::restoreViewContext() {
    if (glView_ && glView_->isValid())
        glView_->makeCurrent();
}

template <typename Call> void QtWindowSystem::deliver(Call&& call) {
    if (sink_ == nullptr)
        return;
    restoreViewContext();
    call(*sink_);
    requestFrame();
}

void QtWindowSystem::createFont(const std::string& face, int cellHeight) {
    font_ = uiFont(face, cellHeight);
    hasFont_ = true;
}

bool QtWindowSystem::registerWindowClass(Window window) {
    static_cast<void>(window);
    // Qt needs no classes, but every window of this kind needs a widget application.
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void QtWindowSystem::createMenu(const std::vector<MenuItemSpec>& items) {
    pendingMenu_ = std::make_unique<QMenuBar>();
    pendingMenu_->setNativeMenuBar(false);
    QMenu* dropDown = nullptr;
    for (const MenuItemSpec& item : items) {
        QAction* action = nullptr;
        switch (item.kind) {
        case MenuItemSpec::Kind::DropDown:
            dropDown = pendingMenu_->addMenu(qs(item.text));
            break;
        case MenuItemSpec::Kind::Separator:
            if (dropDown != nullptr)
                dropDown->addSeparator();
            break;
        case MenuItemSpec::Kind::Item:
            if (dropDown != nullptr)
                action = dropDown->addAction(qs(item.text));
            break;
        case MenuItemSpec::Kind::BarItem: {
            // A command on the bar itself, at its right end: a bar of its own in the corner.
            auto* corner = new QMenuBar(pendingMenu_.get());
            corner->setNativeMenuBar(false);
            action = corner->addAction(qs(item.text));
            pendingMenu_->setCornerWidget(corner, Qt::TopRightCorner);
            break;
        }
        }
        if (action != nullptr) {
            // The key after the tab is the item's shortcut, which the menu shows in its place.
            const QStringList textAndKey = qs(item.text).split('\t');
            if (textAndKey.size() == 2) {
                action->setText(textAndKey[0]);
                QList<QKeySequence> keys{QKeySequence(textAndKey[1], QKeySequence::PortableText)};
                if (!item.alsoKey.empty())
                    keys.append(QKeySequence(qs(item.alsoKey), QKeySequence::PortableText));
                action->setShortcuts(keys);
            }
            if (item.panelKeys)
                panelActions_.push_back(action);
            action->setCheckable(item.checkable);
            action->setEnabled(item.enabled);
            const ControlId id = item.id;
            QObject::connect(action, &QAction::triggered, [this, id] {
                deliver([id](WindowEvents& sink) { sink.onCommand(id, Notification::Clicked); });
            });
            actions_[id] = action;
        }
    }
}

bool QtWindowSystem::createWindow(const WindowDesc& desc) {
    QWidget* window = nullptr;
    if (desc.window == Window::Main) {
        main_ = std::make_unique<MainWindow>(*this);
        if (pendingMenu_)
            main_->setMenuBar(pendingMenu_.release());
        window = main_.get();
    } else if (desc.window == Window::Controls || desc.window == Window::Options ||
               desc.window == Window::Sources) {
        if (!main_)
            return false;
        auto* tool = new ToolWindow(*this, desc.window, main_.get());
        tool->setStyleSheet(kToolWindowStyle);
        // The control panel is where the hand is while editing: the Edit keys work there too.
        if (desc.window == Window::Controls)
            for (const QPointer<QAction>& action : panelActions_)
                if (action)
                    tool->addAction(action);
        toolWindows_[desc.window] = tool;
        window = tool;
    } else {
        return false;
    }
    window->setWindowTitle(qs(desc.title));
    if (hasFont_)
        window->setFont(font_);
    window->move(desc.rect.x, desc.rect.y);
    // The tool windows have no sizing frame: their controls are laid out for this size only.
    if (desc.window == Window::Main)
        window->resize(desc.rect.width, desc.rect.height);
    else
        window->setFixedSize(desc.rect.width, desc.rect.height);
    return true;
}

bool QtWindowSystem::createControl(const ControlDesc& desc) {
    QWidget* parent = parentFor(desc.parent);
    if (parent == nullptr || control(desc.id) != nullptr)
        return false;
    const ControlId id = desc.id;
    const QString text = qs(desc.text);
    QWidget* widget = nullptr;
    switch (desc.kind) {
    case ControlKind::PushButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        // "M" and "R" give the keys back to the main window, so they never take them.
        if (desc.parent == Window::Main)
            button->setFocusPolicy(Qt::NoFocus);
        QObject::connect(button, &QPushButton::clicked, [this, id] {
            deliver([id](WindowEvents& sink) { sink.onCommand(id, Notification::Clicked); });
        });
        widget = button;
        break;
    }
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: {
        QAbstractButton* button = nullptr;
        if (desc.kind == ControlKind::RadioButton) {
            auto* radio = new ProgramCheckedRadioButton(text, parent);
            radio->setAutoExclusive(false);
            button = radio;
        } else {
            button = new QCheckBox(text, parent);
        }
        QObject::connect(button, &QAbstractButton::clicked, [this, id] {
            deliver([id](WindowEvents& sink) { sink.onCommand(id, Notification::Clicked); });
        });
        widget = button;
        break;
    }
    case ControlKind::GroupBox:
        widget = new QGroupBox(text, parent);
        break;
    case ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new ListBox(parent, [this, id] {
            deliver([id](WindowEvents& s) { s.onCommand(id, Notification::SelectionChange); });
        });
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        QObject::connect(list, &QListWidget::itemDoubleClicked, [this, id] {
            deliver([id](WindowEvents& s) { s.onCommand(id, Notification::DoubleClick); });
        });
        widget = list;
        break;
    }
    case ControlKind::EditBox:
        widget = new TextBox(text, parent);
        break;
    case ControlKind::HorizontalScrollBar:
    case ControlKind::VerticalScrollBar: {
        auto* bar = new QScrollBar(
            desc.kind == ControlKind::HorizontalScrollBar ? Qt::Horizontal : Qt::Vertical, parent);
        bar->setFocusPolicy(Qt::NoFocus);
        // Qt's menu on the bar ("Scroll here", "Top", ...) would move the thumb past the
        // handler, which alone places it.
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        QObject::connect(bar, &QAbstractSlider::actionTriggered,
                         [this, id, bar](int action) { routeScroll(id, bar, action); });
        QObject::connect(bar, &QAbstractSlider::sliderReleased, [this, id, bar] {
            const int position = bar->sliderPosition();
            deliver([id, position](WindowEvents& sink) {
                sink.onScroll(id, ScrollRequest::ThumbPosition, position);
                sink.onScroll(id, ScrollRequest::EndScroll, 0);
            });
        });
        widget = bar;
        break;
    }
    case ControlKind::GlView: {
        auto* view = new GlView(*this, parent);
        glView_ = view;
        widget = view;
        break;
    }
    }
    const bool scrollBar = desc.kind == ControlKind::HorizontalScrollBar ||
                           desc.kind == ControlKind::VerticalScrollBar;
    if (hasFont_ && !scrollBar)
        widget->setFont(font_);
    widget->setGeometry(desc.rect.x, desc.rect.y, desc.rect.width, desc.rect.height);
    widget->setEnabled(desc.enabled);
    widget->show();
    controls_[id] = widget;
    return true;
}

// The bar has already moved its thumb for the action; it is put back, since only the handler
// places it, and the handler learns where the thumb was asked to go.
void QtWindowSystem::routeScroll(ControlId id, QScrollBar* bar, int action) {
    const std::optional<ScrollRequest> request = requestFor(action);
    if (!request)
        return;
    const int position = bar->sliderPosition();
    {
        const QSignalBlocker blocker(bar);
        bar->setSliderPosition(bar->value());
    }
    deliver([id, request, position](WindowEvents& sink) { sink.onScroll(id, *request, position); });
}

bool QtWindowSystem::createGlContext() {
    if (!glView_)
        return false;
    // The view makes its context when it is first shown with a size; a view that has none yet
    // gets it now.
    if (!glView_->isValid())
        static_cast<void>(glView_->grabFramebuffer());
    if (!glView_->isValid())
        return false;
    glView_->makeCurrent();
    return true;
}

double QtWindowSystem::viewPixelRatio() const {
    return glView_ ? glView_->devicePixelRatioF() : 1.0;
}

std::optional<Size> QtWindowSystem::clientSize(ControlId id) const {
    const QWidget* widget = control(id);
    if (widget == nullptr)
        return std::nullopt;
    return Size{widget->width(), widget->height()};
}

void QtWindowSystem::destroyControl(ControlId id) {
    QWidget* widget = control(id);
    if (widget == nullptr)
        return;
    controls_.erase(id);
    widget->hide();
    widget->deleteLater();
}

void QtWindowSystem::destroyWindow(Window window) {
    const auto it = toolWindows_.find(window);
    if (it == toolWindows_.end())
        return;
    QWidget* widget = it->second;
    toolWindows_.erase(it);
    if (widget != nullptr) {
        widget->hide();
        widget->deleteLater();
    }
}

void QtWindowSystem::sendPrivate(Window window, PrivateMessage message) {
    if (sink_ != nullptr)
        sink_->onPrivateMessage(window, message);
}

void QtWindowSystem::postQuit(int exitCode) {
    QCoreApplication::exit(exitCode);
}

void QtWindowSystem::enable(ControlId id, bool enabled) {
    if (const auto it = actions_.find(id); it != actions_.end() && it->second)
        it->second->setEnabled(enabled);
    if (QWidget* widget = control(id))
        widget->setEnabled(enabled);
}

bool QtWindowSystem::isEnabled(ControlId id) const {
    if (const auto it = actions_.find(id); it != actions_.end() && it->second)
        return it->second->isEnabled();
    const QWidget* widget = control(id);
    return widget != nullptr && widget->isEnabled();
}

void QtWindowSystem::setText(ControlId id, const std::string& text) {
    QWidget* widget = control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(qs(text));
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qs(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(qs(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(qs(text));
}

std::string QtWindowSystem::text(ControlId id) const {
    const QWidget* widget = control(id);
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().toStdString();
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().toStdString();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text().toStdString();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title().toStdString();
    return {};
}

void QtWindowSystem::setChecked(ControlId id, bool checked) {
    if (const auto it = actions_.find(id); it != actions_.end() && it->second)
        it->second->setChecked(checked);
    if (auto* button = qobject_cast<QAbstractButton*>(control(id))) {
        button->setCheckable(true);
        button->setChecked(checked);
    }
}

bool QtWindowSystem::isChecked(ControlId id) const {
    if (const auto it = actions_.find(id); it != actions_.end() && it->second)
        return it->second->isChecked();
    const auto* button = qobject_cast<const QAbstractButton*>(control(id));
    return button != nullptr && button->isChecked();
}

void QtWindowSystem::moveControl(ControlId id, const Rect& rect) {
    // Qt makes a negative size empty; the control simply vanishes until the window grows.
    if (QWidget* widget = control(id))
        widget->setGeometry(rect.x, rect.y, std::max(rect.width, 0), std::max(rect.height, 0));
}

void QtWindowSystem::setFocus(ControlId id) {
    if (QWidget* widget = control(id)) {
        widget->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
    }
}

// Changes made by the program do not notify, as a list box's own messages would not.
void QtWindowSystem::resetList(ControlId id) {
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
}

void QtWindowSystem::insertRow(ControlId id, int row, const std::string& text) {
    if (auto* list = qobject_cast<QListWidget*>(control(id))) {
        const QSignalBlocker blocker(list);
        list->insertItem(row < 0 || row > list->count() ? list->count() : row, qs(text));
    }
}

void QtWindowSystem::setCurrentRow(ControlId id, int row) {
    auto* list = qobject_cast<QListWidget*>(control(id));
    if (list == nullptr)
        return;
    const QSignalBlocker blocker(list);
    if (row < 0 || row >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row));
}

int QtWindowSystem::currentRow(ControlId id) const {
    const auto* list = qobject_cast<const QListWidget*>(control(id));
    if (list == nullptr)
        return -1;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void QtWindowSystem::setScrollRange(ControlId id, int minimum, int maximum) {
    if (auto* bar = qobject_cast<QScrollBar*>(control(id))) {
        const QSignalBlocker blocker(bar);
        bar->setRange(minimum, maximum);
    }
}

void QtWindowSystem::setScrollPos(ControlId id, int position) {
    if (auto* bar = qobject_cast<QScrollBar*>(control(id))) {
        const QSignalBlocker blocker(bar);
        bar->setValue(position);
        bar->setSliderPosition(bar->value());
    }
}

int QtWindowSystem::scrollPos(ControlId id) const {
    const auto* bar = qobject_cast<const QScrollBar*>(control(id));
    return bar != nullptr ? bar->value() : 0;
}

void QtWindowSystem::setVisible(Window window, bool visible) {
    QWidget* widget = this->widget(window);
    if (widget == nullptr)
        return;
    if (visible)
        widget->showNormal();
    else
        widget->hide();
}

void QtWindowSystem::setFocus(Window window) {
    QWidget* widget = this->widget(window);
    if (widget == nullptr)
        return;
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
}

void QtWindowSystem::setTitle(Window window, const std::string& title) {
    if (QWidget* widget = this->widget(window))
        widget->setWindowTitle(qs(title));
}

void QtWindowSystem::requestFrame() {
    if (glView_)
        glView_->update();
}

void QtWindowSystem::startTimer(Timer timer, int milliseconds) {
    std::unique_ptr<QTimer>& running = timers_[timer];
    if (!running) {
        running = std::make_unique<QTimer>();
        running->setSingleShot(true);
        QObject::connect(running.get(), &QTimer::timeout, [this, timer] {
            deliver([timer](WindowEvents& sink) { sink.onTimer(timer); });
        });
    }
    running->start(milliseconds);
}

int QtWindowSystem::messageBox(Window owner, const std::string& text, const std::string& caption,
                               unsigned style) {
    const bool yesNo = (style & 0xF) == kMbYesNo;
    const QMessageBox::Icon icon =
        (style & 0xF0) == kMbIconExclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QWidget* parent = owner == Window::None ? nullptr : widget(owner);
    const std::unique_ptr<QMessageBox> box =
        yesNo ? std::make_unique<YesNoBox>(icon, qs(caption), qs(text), parent)
              : std::make_unique<QMessageBox>(icon, qs(caption), qs(text), QMessageBox::Ok, parent);
    const int pressed = box->exec();
    restoreViewContext();
    if (yesNo)
        return pressed == QMessageBox::Yes ? kIdYes : kIdNo;
    return kIdOk;
}

bool QtWindowSystem::showFileDialog(const FileDialogRequest& request, std::string& path,
                                    std::string& fileName) {
    QFileDialog dialog(request.owner == Window::None ? nullptr : widget(request.owner));
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    const bool folder = request.kind == FileDialogRequest::Kind::Folder;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(folder                  ? QFileDialog::Directory
                       : request.fileMustExist ? QFileDialog::ExistingFile
                                               : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ShowDirsOnly, folder);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setDefaultSuffix(qs(request.defaultSuffix));
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << qs(filter.description) + " (" + bothCases(qs(filter.pattern)).join(' ') + ")";
    dialog.setNameFilters(filters);
    if (!request.title.empty())
        dialog.setWindowTitle(qs(request.title));
    // A system's own dialog takes no text of ours: the note needs Qt's.
    if (!request.note.empty()) {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            auto* note = new QLabel(qs(request.note), &dialog);
            note->setWordWrap(true);
            grid->addWidget(note, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    if (folder && !path.empty())
        dialog.setDirectory(QDir::fromNativeSeparators(qs(path)));
    else if (!path.empty())
        dialog.selectFile(QDir::fromNativeSeparators(qs(path)));
    const int result = dialog.exec();
    restoreViewContext();
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    if (request.chosenFilter != nullptr)
        *request.chosenFilter = std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
    const QString chosen = dialog.selectedFiles().first();
    path = QDir::toNativeSeparators(chosen).toStdString();
    fileName = QFileInfo(chosen).fileName().toStdString();
    return true;
}

void QtWindowSystem::routeKey(Window window, QKeyEvent* event, bool down) {
    const int key = virtualKeyFor(event->key(), event->modifiers());
    if (!down) {
        // A held key repeats its press; Qt adds a release before each repeat that the
        // handlers must not see.
        if (event->isAutoRepeat() || key == 0)
            return;
        deliver([window, key](WindowEvents& sink) { sink.onKeyUp(window, key); });
        return;
    }
    const QString text = event->text();
    const char character = text.size() == 1 && text.at(0).unicode() < 0x80
                               ? static_cast<char>(text.at(0).unicode())
                               : '\0';
    deliver([window, key, character](WindowEvents& sink) {
        if (key != 0)
            sink.onKeyDown(window, key);
        if (character != '\0')
            sink.onChar(window, character);
    });
}

void QtWindowSystem::routeSize(Window window, int width, int height) {
    deliver([window, width, height](WindowEvents& sink) { sink.onSize(window, width, height); });
}

void QtWindowSystem::routeClose(Window window) {
    deliver([window](WindowEvents& sink) { sink.onClose(window); });
}

void QtWindowSystem::routePointerMove(double x, double y, PointerState state) {
    deliver([x, y, state](WindowEvents& sink) { sink.onPointerMove(x, y, state); });
}

void QtWindowSystem::routePointerButton(bool press, double x, double y, PointerButton button) {
    deliver([press, x, y, button](WindowEvents& sink) {
        if (press)
            sink.onPointerPress(x, y, button);
        else
            sink.onPointerRelease(x, y, button);
    });
}

void QtWindowSystem::routeWheel(double x, double y, double steps) {
    deliver([x, y, steps](WindowEvents& sink) { sink.onWheel(x, y, steps); });
}

void QtWindowSystem::routeFrame() {
    // Already inside the view's paint, with its context current.
    if (sink_ != nullptr)
        sink_->onFrame();
}

} // namespace sw::qt
