#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tweak/vocabulary/ToggleType.h"

// One system switch as the customization panel edits it: its type, its state
// for the store's current app (-1 not customized, 0 off, 1 on) and whether the
// settings offer it. A tap advances the state through -1, 1, 0 and back, and
// saveValue() writes it to the current app's entry at once. Its lookups of
// names and readable names are the names the product answers to; they forward
// to the vocabulary in ToggleType.h, which the rest of the plug-in uses. Objects live only while the
// panel shows them; getAllToggles() builds them fresh from the store.
class Tessra2Toggle {
 public:
  // initWithToggleType:state:hasToBeShown: — toggleName() becomes the type's name (empty for none).
  Tessra2Toggle(ToggleType type, ToggleState state, bool hasToBeShown);
  virtual ~Tessra2Toggle();
  Tessra2Toggle(const Tessra2Toggle&) = delete;
  Tessra2Toggle& operator=(const Tessra2Toggle&) = delete;

  bool hasToBeShown() const { return hasToBeShown_; }
  void setHasToBeShown(bool value) { hasToBeShown_ = value; }
  ToggleType toggleType() const { return toggleType_; }
  ToggleState state() const { return state_; }
  void setState(ToggleState state) { state_ = state; }
  const std::string& toggleName() const { return toggleName_; }

  // Advances the state (-1 -> 1 -> 0 -> -1; other values stay) and returns it.
  virtual ToggleState setNextState();
  // The panel's bottom text for the current state; empty for -1.
  virtual std::string getBottomTextForCurrentState() const;
  // Writes the state for the store's current app (-1 removes it) and saves the store.
  virtual void saveValue() const;

  // The 18 switches, types 0 to 17 in order, with the current app's states and the panel's visibility.
  static std::vector<std::shared_ptr<Tessra2Toggle>> getAllToggles();
  // The storage name of `type` (a switch or a behaviour), or nothing.
  static std::optional<std::string_view> getNameForToggleType(ToggleType type);
  // The type named exactly `name` (switches first, then behaviours), or 30.
  static ToggleType getToggleTypeFromName(std::string_view name);
  // The readable name of `type`, or nothing.
  static std::optional<std::string_view> getReadableNameForToggleType(ToggleType type);
  // Whether `type` counts as a behaviour: every type above 18.
  static bool toggleTypeIsAction(ToggleType type);

 protected:
  // The current app's display name for the texts (empty when unset).
  static std::string_view currentAppName();
  // The current app's stored state of `type` and whether the panel shows it.
  static std::pair<ToggleState, bool> storedStateAndVisibility(ToggleType type);
  // One T per row of `rows`, in order, with the current app's states and the panel's visibility.
  template <class T>
  static std::vector<std::shared_ptr<T>> createAll(std::span<const ToggleDescription> rows) {
    std::vector<std::shared_ptr<T>> all;
    all.reserve(rows.size());
    for (const ToggleDescription& row : rows) {
      const auto [state, shown] = storedStateAndVisibility(row.type);
      all.push_back(std::make_shared<T>(row.type, state, shown));
    }
    return all;
  }

 private:
  bool hasToBeShown_ = false;
  ToggleType toggleType_ = 0;
  ToggleState state_ = ToggleStateNotCustomized;
  std::string toggleName_;
};
