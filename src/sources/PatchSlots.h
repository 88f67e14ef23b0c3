#pragma once
// Patching function slots in tables another module owns (the player's input and
// output modules), by one rule: patch only a slot that does not already hold ours,
// restore only a slot that still does. Patching twice (a second start without a
// stop) then never saves our own function as the one before us, which would make it
// call itself forever; and restoring never cuts out whoever patched the slot after us.
//
// T is the slots' common type: a pointer-sized integer or a function-pointer type.
// A slot is read and written with single atomic accesses, since the player's other
// thread may call through it at that very moment.

#include <cstddef>

template <typename T>
struct SlotPatch {
  T* slot = nullptr;  // the field in the other module's table; null: not in use
  T ours{};           // our function
  T saved{};          // what the slot held before ours: the function we call on to
  bool patched = false;  // ours went in and has not been taken out by us
};

template <typename T>
T SlotLoad(const T* slot) {
  return __atomic_load_n(slot, __ATOMIC_ACQUIRE);
}

// Puts ours into every slot that does not hold it yet, saving what it held. Answers
// the number of slots changed.
template <typename T>
int PatchSlots(SlotPatch<T>* patches, size_t count) {
  int changed = 0;
  for (size_t i = 0; i < count; ++i) {
    SlotPatch<T>& patch = patches[i];
    if (!patch.slot) continue;
    T current = SlotLoad(patch.slot);
    if (current == patch.ours) continue;
    // Saved before the slot changes: a call through the new slot reads it at once.
    __atomic_store_n(&patch.saved, current, __ATOMIC_RELEASE);
    __atomic_store_n(patch.slot, patch.ours, __ATOMIC_RELEASE);
    patch.patched = true;
    ++changed;
  }
  return changed;
}

// Puts the saved function back into every slot that still holds ours, and answers how
// many. A slot someone has patched over ours is left to them; it still leads to our
// code through their saved copy, so *chainedOverUs counts those, and while it is not
// 0 our code must stay loaded.
template <typename T>
int RestoreSlots(SlotPatch<T>* patches, size_t count, int* chainedOverUs = nullptr) {
  int restored = 0, chained = 0;
  for (size_t i = 0; i < count; ++i) {
    SlotPatch<T>& patch = patches[i];
    if (!patch.slot) continue;
    if (SlotLoad(patch.slot) == patch.ours) {
      __atomic_store_n(patch.slot, patch.saved, __ATOMIC_RELEASE);
      patch.patched = false;
      ++restored;
    } else if (patch.patched) {
      ++chained;
    }
  }
  if (chainedOverUs) *chainedOverUs = chained;
  return restored;
}
