// The templates of the pages that both view DLLs build from one layout file each (COMM,
// LOWFLOW, SENSOR, SYSTEM, TotalizerConfig): their dialog items and the totalizers' device
// lists, for the template tests of both DLLs.
#pragma once

#include "../../../PVComponents/tests/PageTemplateChecks.h"

namespace corvaneview {

using pvtest::templates::B;
using pvtest::templates::E;
using pvtest::templates::L;
using pvtest::templates::T;

inline pvtest::templates::Page CommTemplate() {
  return {"COMM", 9014, {{9025, L}, {9028, L}, {9033, L}, {9038, L}, {9041, L}, {9043, L}, {9044, L},
                         {9045, L}, {9046, L}, {9047, L}, {9048, L}, {9049, L}, {9050, L}, {9051, L},
                         {9052, L}, {9053, L}, {9054, L}, {9055, L}, {9056, L}, {9057, L}}};
}

inline pvtest::templates::Page LowFlowTemplate() {
  return {"LOWFLOW", 9102, {{9058, L}, {9165, E}, {9199, T}, {9169, E}, {9167, E}}};
}

inline pvtest::templates::Page SensorTemplate() {
  return {"SENSOR", 9101, {{9126, L}}};
}

inline pvtest::templates::Page SystemTemplate() {
  return {"SYSTEM",
          9067,
          {{9128, L},
           {9160, E},
           {9143, L},
           {9144, L},
           {9146, L},
           {9149, L},
           {9152, L},
           {9158, L},
           {9181, L},
           {9162, L},
           {9168, L},
           {9170, L},
           {9172, L},
           {9174, L},
           {9177, L}}};
}

inline pvtest::templates::Page TotalizerTemplate() {
  return {"TotalizerConfig", 9012, {{9327, L}, {9326, L}, {9332, T}, {9328, L}, {9329, L}, {9330, E},
                                    {9331, L}, {9241, B}, {9400, L}, {9401, L}, {9032, T}, {9150, L},
                                    {9148, L}, {9037, E}, {9154, L}, {9243, B}, {9402, L}, {9403, L},
                                    {9034, T}, {9404, L}, {9405, L}, {9039, E}, {9406, L}, {9245, B}}};
}

// The control states of each totalizer, in both languages.
inline std::vector<pvtest::templates::DeviceList> TotalizerDeviceLists() {
  const std::vector<std::wstring> english = {L"State 1", L"State 2", L"State 3",
                                             L"State 4", L"State 5", L"State 6"};
  const std::vector<std::wstring> german = {L"Zustand 1", L"Zustand 2", L"Zustand 3",
                                            L"Zustand 4", L"Zustand 5", L"Zustand 6"};
  return {{9012, 9329, english, german}, {9012, 9148, english, german}, {9012, 9405, english, german}};
}

}  // namespace corvaneview
