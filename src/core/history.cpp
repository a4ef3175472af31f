// history.cpp - snapshots of figures for undo and redo.
//
// An animator is stored as its state (every field but the records, so a
// field added there is kept without a change here) and its records up to
// the last one that differs from a never-written record.
//
// Sections (search "[SECTION]"):
//   Capture and restore
//   Steps
#include "core/history.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <set>
#include <type_traits>

#include "core/app_state.h"

namespace {

static_assert(std::is_trivially_copyable_v<KeyFrameAnimationState>, "an animator's state is copied whole");
// A member added to KeyFrameAnimation beside its records would be lost by
// undo: it belongs in KeyFrameAnimationState.
struct AnimatorLayout : KeyFrameAnimationState {
    KeyFrameRecords keyFrames;
};
static_assert(sizeof(KeyFrameAnimation) == sizeof(AnimatorLayout), "an animator is its state and its records");

bool sameRecord(const KeyFrame& a, const KeyFrame& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Records worth keeping: up to the last one written, and at least the live ones.
int keptRecords(const KeyFrameAnimation& a) {
    int n = a.keyFrames.stored();
    while (n > 0 && sameRecord(a.keyFrames[n - 1], kUnwrittenKeyFrame)) n--;
    return std::max(n, std::min(a.numKeyFrames, a.keyFrames.stored()));
}

bool sameRecords(const std::vector<KeyFrame>& v, const KeyFrameAnimation& a, int n) {
    // n == 0 skips memcmp: an empty vector's data() may be null.
    return static_cast<int>(v.size()) == n &&
           (n == 0 || std::memcmp(v.data(), a.keyFrames.data(), sizeof(KeyFrame) * n) == 0);
}

void restoreAnimator(KeyFrameAnimation& a, const History::AnimatorState& s) {
    static_cast<KeyFrameAnimationState&>(a) = s.head;
    const std::vector<KeyFrame>& r = *s.records;
    a.keyFrames.assign(r.data(), static_cast<int>(r.size()));
}

}  // namespace

// [SECTION] Capture and restore

History::AnimatorState History::captureAnimator(const KeyFrameAnimation& a, Records& last) {
    AnimatorState s;
    s.head = a;
    const int n = keptRecords(a);
    if (!last || !sameRecords(*last, a, n))
        last = std::make_shared<const std::vector<KeyFrame>>(a.keyFrames.data(), a.keyFrames.data() + n);
    s.records = last;
    return s;
}

History::Step History::capture(const std::string& label, const std::vector<int>& indices) {
    Step s{label, app.numPersons, app.selectedPerson, {}};
    s.persons.reserve(indices.size());
    for (int idx : indices) {
        const Person& p = app.persons[idx];
        PersonState ps;
        ps.index = idx;
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            const BodyPart& b = p.part[i];
            PartState& q = ps.part[i];
            static_cast<PartFields&>(q) = b;
            q.kfa = captureAnimator(b.kfa, lastRecords_[idx][i + 1]);
        }
        static_cast<FigureFields&>(ps) = p;
        ps.torsoBox = p.torsoBox;
        ps.kfaPos = captureAnimator(p.kfaPos, lastRecords_[idx][0]);
        s.persons.push_back(std::move(ps));
    }
    return s;
}

void History::restore(const Step& s) {
    app.numPersons = s.numPersons;
    app.selectedPerson = s.selectedPerson;
    for (const PersonState& ps : s.persons) {
        Person& p = app.persons[ps.index];
        for (int i = 0; i < BODY_PART_COUNT; i++) {
            BodyPart& b = p.part[i];
            const PartState& q = ps.part[i];
            static_cast<PartFields&>(b) = q;
            restoreAnimator(b.kfa, q.kfa);
        }
        static_cast<FigureFields&>(p) = ps;
        p.torsoBox = ps.torsoBox;
        restoreAnimator(p.kfaPos, ps.kfaPos);
        // Matrices follow from the pose; recomputing gives the same bits.
        for (int i = 0; i < BODY_PART_COUNT; i++) p.updateTransform(i);
    }
}

std::vector<int> History::indicesOf(const Step& s) {
    std::vector<int> v;
    for (const PersonState& ps : s.persons) v.push_back(ps.index);
    return v;
}

// [SECTION] Steps

void History::record(const std::string& label, int first, int count, long runKey) {
    if (runKey != 0 && runKey == lastRunKey_ && !undo_.empty()) return;
    lastRunKey_ = runKey;
    std::vector<int> indices;
    for (int i = first; i < first + count; i++)
        if (i >= 0 && i < MAX_PERSONS) indices.push_back(i);
    undo_.push_back(capture(label, indices));
    redo_.clear();
    while (undo_.size() > limit_) undo_.pop_front();
}

void History::dropLast() {
    if (!undo_.empty()) undo_.pop_back();
    lastRunKey_ = 0;
}

// Restores the newest step of `from` and keeps what it replaced on `to`.
bool History::swap(std::deque<Step>& from, std::deque<Step>& to, std::string* label,
                   std::vector<int>* figures) {
    lastRunKey_ = 0;
    if (from.empty()) return false;
    Step s = std::move(from.back());
    from.pop_back();
    const std::vector<int> indices = indicesOf(s);
    to.push_back(capture(s.label, indices));
    restore(s);
    if (label) *label = s.label;
    if (figures) *figures = indices;
    return true;
}

void History::relabelLast(const std::string& label) {
    if (!undo_.empty()) undo_.back().label = label;
}

bool History::undo(std::string* label, std::vector<int>* figures) { return swap(undo_, redo_, label, figures); }
bool History::redo(std::string* label, std::vector<int>* figures) { return swap(redo_, undo_, label, figures); }

void History::clear() {
    undo_.clear();
    redo_.clear();
    lastRunKey_ = 0;
    for (auto& person : lastRecords_)
        for (Records& r : person) r.reset();
}

std::size_t History::bytes() const {
    std::set<const void*> seen;
    std::size_t total = 0;
    for (const std::deque<Step>* d : {&undo_, &redo_}) {
        for (const Step& s : *d) {
            total += sizeof(Step) + s.label.capacity() + s.persons.capacity() * sizeof(PersonState);
            for (const PersonState& ps : s.persons) {
                auto count = [&](const Records& r) {
                    if (seen.insert(r.get()).second) total += sizeof(*r) + r->capacity() * sizeof(KeyFrame) + 32;
                };
                count(ps.kfaPos.records);
                for (const PartState& q : ps.part) count(q.kfa.records);
            }
        }
    }
    return total;
}
