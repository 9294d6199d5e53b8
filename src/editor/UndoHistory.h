#pragma once

#include <cstddef>
#include <deque>
#include <memory>

namespace sw {

class Model;

// What a step changed, so that the views and lists showing it can follow an undo.
struct StepScope {
    int mesh = -1; // the group whose texture vertices changed, or -1
    int group = -1;
    bool materials = false; // the material list and the groups' textures
};

// One undoable change of the model. A step holds the state on the other side of the change and
// swaps it with the model's: the first swap undoes the change, the next one redoes it, so a
// step costs one copy of what it touched.
class UndoStep {
public:
    virtual ~UndoStep() = default;
    virtual void swap(Model& model) = 0;
    // True when the model is as the step holds it, so that the change changed nothing.
    virtual bool matches(const Model& model) const = 0;
    virtual std::size_t bytes() const = 0;
    virtual StepScope scope() const = 0;
};

// The undo and redo stacks of the open model, and where the saved state lies in them. Steps
// are pushed by the commands that change the model; the history knows no command.
class UndoHistory {
public:
    // At most this many steps, holding at most this many bytes between them: the oldest go
    // first, so that the latest step is always kept.
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    // Adds a step for a change just made; the steps that were undone are gone.
    void push(std::unique_ptr<UndoStep> step);
    // The latest step still open for the rest of a gesture (a CTRL-move), or null. Opening
    // marks the latest step; any push, undo, redo or close ends it.
    UndoStep* openGesture() const { return gestureOpen_ ? latest() : nullptr; }
    void openLatestAsGesture() { gestureOpen_ = latest() != nullptr; }
    void closeGesture() { gestureOpen_ = false; }

    bool canUndo() const { return applied_ > 0; }
    bool canRedo() const { return applied_ < steps_.size(); }
    // Take back the latest change, or make the latest undone one again; the step that was
    // swapped, or null when there was none.
    const UndoStep* undo(Model& model);
    const UndoStep* redo(Model& model);

    // The model was saved as it is now; or it holds changes that no step leads back from
    // (a recovered state). Clearing forgets every step and counts the model as saved.
    void markSaved();
    void markUnsavedWithoutSteps();
    void clear();
    bool isModified() const { return !savedReachable_ || saved_ != applied_; }

    std::size_t size() const { return steps_.size(); }
    std::size_t bytes() const { return bytes_; }

private:
    UndoStep* latest() const { return applied_ > 0 ? steps_[applied_ - 1].get() : nullptr; }
    void dropOldest();

    std::deque<std::unique_ptr<UndoStep>> steps_;
    std::size_t applied_ = 0; // steps_[0, applied_) are done, the rest undone
    std::size_t saved_ = 0;   // how many steps were done when the model was saved
    bool savedReachable_ = true;
    bool gestureOpen_ = false;
    std::size_t bytes_ = 0;
};

} // namespace sw
