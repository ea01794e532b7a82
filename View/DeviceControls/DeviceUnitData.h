// The unit data of the meters' unit captions, totalizer unit lists and unit-name statics.
// The controls are one code for both meters; what differs per meter is this data, which each
// view DLL supplies by defining GetDeviceUnitData. The tables both meters share are here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

// One row of a unit table: a unit code of the device and its caption.
struct CUnitName {
  int32_t code;
  const wchar_t* name;
};
using CUnitTable = std::span<const CUnitName>;

// The caption of code in the table (searched row by row), or null when no row has it.
const wchar_t* FindUnitName(CUnitTable table, int32_t code);

// The five unit members a dependent unit caption can show, in the order of its fields.
enum class EUnitRole { MassFlow, VolumeFlow, CorrectedVolumeFlow, Density, ReferenceDensity };
inline constexpr int kUnitRoleCount = 5;

// Which unit member a dependent unit caption reads at a selection of its master. A master id
// of 0 stands for every master that no row names.
struct CDependStaticRule {
  int32_t masterId;
  int32_t selection;
  EUnitRole role;
};

// The rows both meters share: the totalizers' assigned process variables (masters 9327, 9400,
// 9402) show the volume flow unit at positions 1 and 4, the mass flow unit at 2 and 5 and the
// corrected volume flow unit at 3; every other master the density unit at 1 and the reference
// density unit at 2. A meter joins its own rows (the low flow cut-off's) before them.
inline constexpr CDependStaticRule kTotalizerDependStaticRules[] = {
    {9327, 1, EUnitRole::VolumeFlow},
    {9327, 4, EUnitRole::VolumeFlow},
    {9327, 2, EUnitRole::MassFlow},
    {9327, 5, EUnitRole::MassFlow},
    {9327, 3, EUnitRole::CorrectedVolumeFlow},
    {9400, 1, EUnitRole::VolumeFlow},
    {9400, 4, EUnitRole::VolumeFlow},
    {9400, 2, EUnitRole::MassFlow},
    {9400, 5, EUnitRole::MassFlow},
    {9400, 3, EUnitRole::CorrectedVolumeFlow},
    {9402, 1, EUnitRole::VolumeFlow},
    {9402, 4, EUnitRole::VolumeFlow},
    {9402, 2, EUnitRole::MassFlow},
    {9402, 5, EUnitRole::MassFlow},
    {9402, 3, EUnitRole::CorrectedVolumeFlow},
};
inline constexpr CDependStaticRule kDensityDependStaticRules[] = {
    {0, 1, EUnitRole::Density},
    {0, 2, EUnitRole::ReferenceDensity},
};

// The rows of every part, in order, as one table.
template <size_t... N>
constexpr std::array<CDependStaticRule, (N + ...)> JoinDependStaticRules(
    const CDependStaticRule (&... parts)[N]) {
  std::array<CDependStaticRule, (N + ...)> rows{};
  size_t next = 0;
  (
      [&] {
        for (const CDependStaticRule& row : parts) rows[next++] = row;
      }(),
      ...);
  return rows;
}

// A caption that one meter words differently from the shared table of its role.
struct CUnitCaptionOverride {
  EUnitRole role;
  int32_t code;
  const wchar_t* name;
};

// The units a totalizer lists for the process variables from firstSelector to lastSelector
// (the assign-variable combo box's positions): the totalizer unit indices firstUnit to
// lastUnit, listed from position 0, so that a list position plus offset is the unit index; a
// change of the process variable sets the unit to defaultUnit.
struct CTotalizerUnitFamily {
  int32_t firstSelector;
  int32_t lastSelector;
  int32_t firstUnit;
  int32_t lastUnit;
  int32_t offset;
  int32_t defaultUnit;
};

// The unit-name table of a unit-name static with the dialog item id itemId.
struct CUnitNameChoice {
  int32_t itemId;
  CUnitTable table;
};

struct CDeviceUnitData {
  // The roles of the first two references of CPVCtrlCmbDependStatic::Initialize, in order.
  EUnitRole firstInitializeRole;
  EUnitRole secondInitializeRole;
  // Master and selection to unit member; the rows of the master, else those of master 0.
  std::span<const CDependStaticRule> dependStaticRules;
  // Captions that differ from the shared caption tables.
  std::span<const CUnitCaptionOverride> captionOverrides;
  // The totalizer unit families by process variable; any selector outside them lists every
  // unit (kAllTotalizerUnits).
  std::span<const CTotalizerUnitFamily> totalizerFamilies;
  // The unit-name statics' tables by dialog item id; any other id has none.
  std::span<const CUnitNameChoice> unitNameTables;
};

// Supplied by each view DLL: its meter's unit data.
const CDeviceUnitData& GetDeviceUnitData();

// ---- Shared tables.

// The captions of a dependent unit caption for one role, before the meter's overrides.
CUnitTable DependStaticCaptions(EUnitRole role);
// The caption of code for the role: the meter's override, else the shared table's; null when
// neither has the code.
const wchar_t* FindDependStaticCaption(const CDeviceUnitData& data, EUnitRole role, int32_t code);

// The 36 totalizer unit texts by index (0 to 5 mass, 6 to 26 volume, 27 to 34 corrected
// volume, 35 none); null for any other index.
const wchar_t* TotalizerUnitText(int32_t index);
inline constexpr int32_t kTotalizerUnitCount = 36;
// The family of a process variable outside every meter family: every text of the unit
// member's enumeration, however many it has, offset 0, default 35 (none).
inline constexpr CTotalizerUnitFamily kAllTotalizerUnits{-1, -1, 0, std::numeric_limits<int32_t>::max(),
                                                         0,  35};
// The meter's family of the selector, or kAllTotalizerUnits.
const CTotalizerUnitFamily& FindTotalizerFamily(const CDeviceUnitData& data, int32_t selector);

// The unit-name tables of the Coriolis meter's pages.
CUnitTable PressureUnitNames();
CUnitTable TemperatureUnitNames();
CUnitTable ReferenceDensityUnitNames();
CUnitTable DensityUnitNames();
// The density rows without "API" and the two oil-barrel rows.
CUnitTable DensityWithoutApiUnitNames();
