// history.h - undo and redo of changes to figures.
//
// GL-free. Before a change, the caller records the figures it is about to
// change; a step holds their complete state (pose, body, clothing, items and
// all 21 animators with their times, cycle flags and every stored record)
// plus the figure count and the selection. Undo swaps the recorded state
// back in and keeps the state it replaced for redo, so a round trip restores
// every bit.
//
// Memory: only the figures a step changes are stored, and each animator's
// records only up to the last one ever written (or the live count, if more). Record lists equal to the
// figure's previous snapshot are shared, so the many steps that change only
// the pose (a key, a drag) cost a few kilobytes each.
//
// Runs: a record with a run key equal to the previous record's is folded
// into it, so holding or repeating one key, or one drag, is one step.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "anim/keyframe_animation.h"
#include "figure/figure_fields.h"
#include "figure/figure_limits.h"
#include "figure/textured_box.h"

constexpr std::size_t HISTORY_STEPS = 200;

class History {
public:
    explicit History(std::size_t limit = HISTORY_STEPS) : limit_(limit) {}

    // Records persons[first .. first + count - 1] (count may be 0: only the
    // figure count and selection) before a change named `label`.
    void record(const std::string& label, int first, int count, long runKey = 0);
    // Ends any run, so the next record starts a new step.
    void breakRun() { lastRunKey_ = 0; }
    // Forgets the newest step (a change that did not happen after all).
    void dropLast();
    // Renames the newest step (a load learns its file name afterwards).
    void relabelLast(const std::string& label);

    // Undo / redo one step; false when there is none. `label` gets its name
    // and `figures` the persons it restored.
    bool undo(std::string* label = nullptr, std::vector<int>* figures = nullptr);
    bool redo(std::string* label = nullptr, std::vector<int>* figures = nullptr);

    std::size_t undoDepth() const { return undo_.size(); }
    std::size_t redoDepth() const { return redo_.size(); }
    // Heap bytes the steps hold, shared record lists counted once.
    std::size_t bytes() const;
    void clear();

    using Records = std::shared_ptr<const std::vector<KeyFrame>>;
    struct AnimatorState {
        KeyFrameAnimationState head;  // every field but the records
        Records records;
    };
    // The kept fields come whole from the lists in figure_fields.h, so a
    // field added there is undone with no edit here.
    struct PartState : PartFields {
        AnimatorState kfa;
    };
    struct PersonState : FigureFields {
        int index;
        PartState part[BODY_PART_COUNT];
        AnimatorState kfaPos;
        TexturedBox torsoBox;
    };
    struct Step {
        std::string label;
        int numPersons, selectedPerson;
        std::vector<PersonState> persons;
    };

private:
    Step capture(const std::string& label, const std::vector<int>& indices);
    bool swap(std::deque<Step>& from, std::deque<Step>& to, std::string* label, std::vector<int>* figures);
    void restore(const Step& s);
    AnimatorState captureAnimator(const KeyFrameAnimation& a, Records& last);
    static std::vector<int> indicesOf(const Step& s);

    std::size_t limit_;
    std::deque<Step> undo_, redo_;
    long lastRunKey_ = 0;
    Records lastRecords_[MAX_PERSONS][BODY_PART_COUNT + 1];  // to share unchanged lists
};
