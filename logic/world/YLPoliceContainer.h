#pragma once

// What marks a container as a place of the police side (the police
// department and the riot-police bus): officers bring arrested units there.
class YLPoliceContainer {
 public:
  YLPoliceContainer() = default;
  virtual ~YLPoliceContainer() = default;
  YLPoliceContainer(const YLPoliceContainer&) = delete;
  YLPoliceContainer& operator=(const YLPoliceContainer&) = delete;
};
