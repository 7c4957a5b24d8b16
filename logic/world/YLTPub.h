#pragma once

#include <cstdint>

#include "logic/world/YLTBuilding.h"

class CPlayer;

// A pub: a building where its owner recruits fans and buys beer. Its record
// is a pub record with the recruit counters that it sells from. Each pub
// counts once in its owner's ParamPubs, and the count follows the owner.
class YLTPub : public YLTBuilding {
 public:
  // The unit type that beer turns into.
  static constexpr int32_t kSupporterType = 3;

  YLTPub();

  const char* GetClassName() const override;
  // A pub record starting the move of that number.
  void CreateInfo(int32_t moveNumber) override;
  // The container's set-up; from now on the pub counts with its owner.
  void InitFromType() override;
  // The new owner's ParamPubs counts the pub, the old owner's no longer.
  void SetOwner(int32_t owner) override;
  // In the normal state an ownerless pub takes the owner of a unit of
  // another owner; then the unit enters. The pub keeps its owner when
  // units leave.
  void Enter(YLUnit* unit) override;
  void Leave(YLUnit* unit) override;
  // An ownerless normal pub admits while not full; a broken or trashed one
  // only a unit whose owner every owned unit inside shares.
  bool CanEnter(YLUnit* unit) const override;
  // Every supporter inside drinks 25, then the money is taken. A looted
  // pub keeps its owner, and so its count.
  int32_t TakeMoney() override;
  void GetDebugText(tString& text) const override;

  // One recruit of the type more (at most 10).
  void AddAvailableUnit(int32_t unitType);
  // The recruits of the type, 0 for a type the pub has none of.
  int32_t CountAvailableHC(int32_t unitType) const;
  // A buy order of the owner: one recruit of the type, made inside, paid
  // only once the unit exists. A type that is not for sale is refused.
  void SellUnit(int32_t unitType, CPlayer* player);
  // A beer order of the owner: the beer is paid, turns into supporters
  // while it buys them and is shared among the units inside.
  void GiveBeer(int32_t amount, CPlayer* player);
  PubInfo* GetPubInfo() const;

  virtual bool LoadCountRatje(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountRatje(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCountGabber(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountGabber(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCountYobbozer(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountYobbozer(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCountBiker(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountBiker(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCountSkin(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountSkin(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadCountRozav(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveCountRozav(LumoStream* stream, const LumoProperty* property);

  // Kept for the stored layout; the recruit counts sold from are the
  // record's.
  int32_t CountRatje = 0;
  int32_t CountGabber = 0;
  int32_t CountYobbozer = 0;
  int32_t CountBiker = 0;
  int32_t CountSkin = 0;
  int32_t CountRozav = 0;

 protected:
  ThingInfo* MakeInfo() const override;

 private:
  // Moves the pub's count to the player of its current owner.
  void FollowOwnerCount();
  // Not stored: set up again after creation and after loading.
  bool counting = false;
  int32_t countedOwner = 0;
};
