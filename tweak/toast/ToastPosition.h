#pragma once

#include <string>
#include <variant>

#include "platform/ui/Geometry.h"

// The three named places of a toast, compared ignoring case.
inline constexpr const char* ToastPositionTop = "ToastPositionTop";
inline constexpr const char* ToastPositionCenter = "ToastPositionCenter";
inline constexpr const char* ToastPositionBottom = "ToastPositionBottom";

// Where a toast goes on its host view: one of the named places (any other
// name counts as bottom) or the point its centre is put at, in the host
// view's coordinates. A small value type.
class ToastPosition {
 public:
  ToastPosition(const char* name) : value_(std::string(name ? name : "")) {}
  ToastPosition(std::string name) : value_(std::move(name)) {}
  ToastPosition(platform::CGPoint centre) : value_(centre) {}

  // Whether it names the top / the centre (ignoring case); everything else but a point is bottom.
  bool isTop() const { return isNamed(ToastPositionTop); }
  bool isCenter() const { return isNamed(ToastPositionCenter); }
  // The point, when the position is one.
  const platform::CGPoint* point() const { return std::get_if<platform::CGPoint>(&value_); }
  // The name, when the position is one.
  const std::string* name() const { return std::get_if<std::string>(&value_); }

 private:
  bool isNamed(const char* constant) const;

  std::variant<std::string, platform::CGPoint> value_;
};
