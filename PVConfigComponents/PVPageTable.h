// A page's table: one row per control, in the order of the page's control list, with the
// control's dialog item id, the member of the page that holds it, its masters, and how it is
// bound (its member or members and an edit's arguments). The page keeps the table as a
// constant array beside its code; from it the page constructs its controls (in its member
// initialiser list, so that the language keeps the members' order and unwinds them when a
// constructor throws), hands them to the panel, exchanges their windows, binds them and
// reports its focus control, each in the order of the rows.
//
// The table is a plain array of rows. Where a page shows rows that another page of its DLL shows
// too (the same item ids, controls, members and arguments), the rows are written once as a
// function template of the path to the page's control member, and the page's table is a
// std::array: those rows, or those rows joined with its own (PVJoinRows).
//
// A row reaches its control through a path from the page: a member, an element of an array
// member, a member of such an element. The control's class is known from the path, so the
// binding that suits it is chosen by overloads of PVBindRow (the configuration controls'
// below, the device controls' beside those controls), found where the page instantiates the
// table.
#pragma once

#include <afx.h>

#include <array>
#include <concepts>
#include <cstddef>
#include <ranges>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "PVCtrlBinding.h"

// A dependent control's master combo box and the inclusive range of its positions (zero-based
// list indexes) in which the control is enabled. nID 0: no master.
struct CPVMaster {
  int nID = 0;
  int nFirst = 0;
  int nLast = 0;
};

// An edit's binding arguments.
struct CPVEditArgs {
  int nTextLimit = 0;
  DWORD dwSignFlags = 0;
  int nDecimals = 0;
};

// How a row's control is bound in OnInitDialog.
enum class EPVBinding {
  Table,  // value objects on the row's members, as the control's class takes them
  None,   // no member (an online control works through the module's link services)
  Page,   // by a rule of the page's own, in the page's OnInitDialog
};

// The members a row binds: one, or a unit caption's by unit role; null where none.
inline constexpr size_t kPVRowMemberCount = 5;
using CPVRowMembers = std::array<const wchar_t*, kPVRowMemberCount>;

template <class TPage>
struct CPVPageRow;

// How the table reaches a row's control in the page, made by PVControl from its path.
template <class TPage>
struct CPVPageControl {
  IPVCtrl* (*pfnControl)(TPage& page);
  CWnd& (*pfnWindow)(TPage& page);
  // Null when no binding suits the control's class.
  HRESULT (*pfnBind)(TPage& page, const CPVPageRow<TPage>& row, IPVGetSetAdapter* adapter);
};

template <class TPage>
struct CPVPageRow {
  int nID;
  CPVPageControl<TPage> control;
  EPVBinding binding = EPVBinding::Table;
  CPVRowMembers members{};
  CPVEditArgs edit{};
  // The masters, for the controls whose constructors take them. A plain array, so that a row
  // writes a master inline with one pair of braces for the list and one for each master.
  CPVMaster masters[2]{};
  // The page reports this control as the one that has the focus.
  bool bFocus = false;
};

// The binding of each configuration control class: the control's answer.
inline HRESULT PVBindRow(CPVCtrlConfigComboBox& combo, const CPVRowMembers& members, const CPVEditArgs&,
                         IPVGetSetAdapter* adapter) {
  return PVBindComboBox(combo, members[0], adapter);
}
inline HRESULT PVBindRow(CPVCtrlConfigEditFloat& edit, const CPVRowMembers& members, const CPVEditArgs& args,
                         IPVGetSetAdapter* adapter) {
  return PVBindEditFloat(edit, members[0], adapter, args.nTextLimit, args.dwSignFlags, args.nDecimals);
}
inline HRESULT PVBindRow(CPVCtrlConfigEditInteger& edit, const CPVRowMembers& members,
                         const CPVEditArgs& args, IPVGetSetAdapter* adapter) {
  return PVBindEditInteger(edit, members[0], adapter, args.nTextLimit, args.dwSignFlags);
}

namespace pv_page_table {

template <class TMember>
struct MemberOf;
template <class TClass, class TValue>
struct MemberOf<TValue TClass::*> {
  using Class = TClass;
};

// The object at the end of the path from object: a member pointer steps into a member, an
// index into an element.
template <class TObject>
constexpr TObject& Follow(TObject& object) {
  return object;
}
template <auto Step, auto... Rest, class TObject>
constexpr auto& Follow(TObject& object) {
  if constexpr (std::is_member_object_pointer_v<decltype(Step)>)
    return Follow<Rest...>(object.*Step);
  else {
    static_assert(Step < std::tuple_size_v<TObject>, "the row names an element beyond the array");
    return Follow<Rest...>(object[Step]);
  }
}

// The page: the class of the path's first member.
template <auto... Path>
struct PathFrom;
template <auto First, auto... Rest>
struct PathFrom<First, Rest...> {
  using Page = typename MemberOf<decltype(First)>::Class;
};
template <auto... Path>
using PageOf = typename PathFrom<Path...>::Page;

template <auto... Path>
using ControlOf = std::remove_reference_t<decltype(Follow<Path...>(std::declval<PageOf<Path...>&>()))>;

template <auto... Path>
IPVCtrl* Control(PageOf<Path...>& page) {
  return &Follow<Path...>(page);
}

template <auto... Path>
CWnd& Window(PageOf<Path...>& page) {
  return Follow<Path...>(page);
}

template <auto... Path>
HRESULT Bind(PageOf<Path...>& page, const CPVPageRow<PageOf<Path...>>& row, IPVGetSetAdapter* adapter) {
  return PVBindRow(Follow<Path...>(page), row.members, row.edit, adapter);
}

template <auto... Path>
constexpr auto BindFunction() {
  using TPage = PageOf<Path...>;
  using TBind = HRESULT (*)(TPage&, const CPVPageRow<TPage>&, IPVGetSetAdapter*);
  if constexpr (requires(ControlOf<Path...> & control, const CPVRowMembers& members,
                         const CPVEditArgs& args) { PVBindRow(control, members, args, nullptr); })
    return TBind(&Bind<Path...>);
  else
    return TBind(nullptr);
}

// The row of the page's table (its static member kTable) whose control is the one at the
// path. A table without a row for a member of the page is a fault of the page's source, which
// its tests show at once.
template <auto... Path>
const CPVPageRow<PageOf<Path...>>& RowOf() {
  for (const auto& row : PageOf<Path...>::kTable)
    if (row.control.pfnWindow == &Window<Path...>) return row;
  throw std::logic_error("the page's table has no row for one of its controls");
}

// The control constructed with its row's item id and the masters its class takes.
template <class TCtrl, class TRow>
TCtrl Construct(const TRow& row) {
  const CPVMaster& first = row.masters[0];
  const CPVMaster& second = row.masters[1];
  if constexpr (std::is_constructible_v<TCtrl, int, int, int, int, int, int, int>)
    return TCtrl(row.nID, first.nID, first.nFirst, first.nLast, second.nID, second.nFirst, second.nLast);
  else if constexpr (std::is_constructible_v<TCtrl, int, int, int, int>)
    return TCtrl(row.nID, first.nID, first.nFirst, first.nLast);
  else if constexpr (std::is_constructible_v<TCtrl, int, int, int>)
    return TCtrl(row.nID, first.nID, second.nID);
  else if constexpr (std::is_constructible_v<TCtrl, int, int>)
    return TCtrl(row.nID, first.nID);
  else
    return TCtrl(row.nID);
}

}  // namespace pv_page_table

// A page's table: a plain array or a std::array of its rows.
template <class TTable, class TPage>
concept PVTableOf = std::ranges::range<const TTable> &&
    std::same_as<std::ranges::range_value_t<const TTable>, CPVPageRow<TPage>>;

// The rows a page shares with another page, followed by its own rows, as one table.
template <class TPage, size_t NShared, size_t NOwn>
constexpr std::array<CPVPageRow<TPage>, NShared + NOwn> PVJoinRows(
    const std::array<CPVPageRow<TPage>, NShared>& shared, const CPVPageRow<TPage> (&own)[NOwn]) {
  std::array<CPVPageRow<TPage>, NShared + NOwn> table{};
  for (size_t i = 0; i < NShared; ++i) table[i] = shared[i];
  for (size_t i = 0; i < NOwn; ++i) table[NShared + i] = own[i];
  return table;
}

// How a row reaches its control: the path from the page, for example
// PVControl<&CPage::m_cmbMode>, PVControl<&CPage::m_cmbPositions, 3>. An index is an int: a
// path names one control by one spelling only.
template <auto... Path>
inline constexpr CPVPageControl<pv_page_table::PageOf<Path...>> PVControl = {
    &pv_page_table::Control<Path...>, &pv_page_table::Window<Path...>,
    pv_page_table::BindFunction<Path...>()};

// The control at the path, constructed from its row of the page's table (the page's static
// member kTable): with the row's item id and
// the masters its class takes, or with the item id and the further arguments given (those of
// the online controls, which the table does not hold).
template <auto... Path, class... TArgs>
pv_page_table::ControlOf<Path...> PVMakeControl(const TArgs&... args) {
  const auto& row = pv_page_table::RowOf<Path...>();
  using TCtrl = pv_page_table::ControlOf<Path...>;
  if constexpr (sizeof...(TArgs) > 0)
    return TCtrl(row.nID, args...);
  else
    return pv_page_table::Construct<TCtrl>(row);
}

// Every element of the array member at the path, each constructed from its row.
template <auto... Path>
pv_page_table::ControlOf<Path...> PVMakeControls() {
  using TArray = pv_page_table::ControlOf<Path...>;
  return []<size_t... I>(std::index_sequence<I...>) {
    return TArray{PVMakeControl<Path..., static_cast<int>(I)>()...};
  }
  (std::make_index_sequence<std::tuple_size_v<TArray>>());
}

// The dialog item id of the control at the path, from its row: for a control constructed with
// another's id.
template <auto... Path>
int PVItemId() {
  return pv_page_table::RowOf<Path...>().nID;
}

// The row of the page's control, for a page's own binding rule; null when the table has none.
template <class TPage, PVTableOf<TPage> TTable>
const CPVPageRow<TPage>* PVFindRow(TPage& page, const TTable& table, const CWnd& control) {
  for (const CPVPageRow<TPage>& row : table)
    if (&row.control.pfnWindow(page) == &control) return &row;
  return nullptr;
}

// Every control handed to the panel, in row order. The results are not examined: a control
// that the panel refuses stays a member but receives no host calls.
template <class TPage, PVTableOf<TPage> TTable>
void PVAddControls(TPage& page, const TTable& table) {
  for (const CPVPageRow<TPage>& row : table) page.AddControlToList(row.control.pfnControl(page));
}

// DDX_Control for every control, in row order, with its row's item id.
template <class TPage, PVTableOf<TPage> TTable>
void PVExchangeControls(TPage& page, CDataExchange* pDX, const TTable& table) {
  for (const CPVPageRow<TPage>& row : table) DDX_Control(pDX, row.nID, row.control.pfnWindow(page));
}

// Every control that the table binds, bound in row order on the page's adapter; the results
// of the controls' Initialize calls are not examined.
template <class TPage, PVTableOf<TPage> TTable>
void PVBindControls(TPage& page, const TTable& table) {
  IPVGetSetAdapter* adapter = page.GetIPVGetSetAdapter();
  for (const CPVPageRow<TPage>& row : table)
    if (row.binding == EPVBinding::Table && row.control.pfnBind) row.control.pfnBind(page, row, adapter);
}

// The focus control of the table reported to the panel as the control that has the focus.
template <class TPage, PVTableOf<TPage> TTable>
void PVReportFocus(TPage& page, const TTable& table) {
  for (const CPVPageRow<TPage>& row : table)
    if (row.bFocus) page.OnFocusChange(&row.control.pfnWindow(page));
}
