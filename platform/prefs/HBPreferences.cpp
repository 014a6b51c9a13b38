#include "platform/prefs/HBPreferences.h"

#include "platform/prefs/PreferenceDomain.h"

namespace platform {

HBPreferences::HBPreferences(std::string identifier) : domain_(PreferenceDomain::forIdentifier(identifier)) {}

HBPreferences::~HBPreferences() { domain_->removeOwner(this); }

const std::string& HBPreferences::identifier() const { return domain_->identifier(); }

void HBPreferences::registerBool(bool* field, bool def, std::string key) {
  domain_->bindBool(this, field, def, std::move(key));
}

void HBPreferences::registerInteger(int64_t* field, int64_t def, std::string key) {
  domain_->bindInteger(this, field, def, std::move(key));
}

void HBPreferences::registerPreferenceChangeBlock(std::function<void()> block) {
  domain_->addChangeBlock(this, std::move(block));
}

plist::Value HBPreferences::objectForKey(std::string_view key) const { return domain_->objectForKey(key); }

bool HBPreferences::boolForKey(std::string_view key) const { return domain_->objectForKey(key).boolValue(); }

bool HBPreferences::setObject(plist::Value value, std::string key) {
  return domain_->setObject(std::move(value), std::move(key));
}

std::optional<plist::Value> HBPreferences::updateObject(
    std::string key, const std::function<plist::Value(const plist::Value& stored)>& edit) {
  return domain_->updateObject(std::move(key), edit);
}

bool HBPreferences::synchronize() { return domain_->synchronize(); }

std::string HBPreferences::fileProblem() const { return domain_->fileProblem(); }

std::string HBPreferences::saveProblem() const { return domain_->saveProblem(); }

void HBPreferences::reloadDomain(std::string_view identifier) {
  if (auto domain = PreferenceDomain::existing(identifier)) domain->reload();
}

}  // namespace platform
