#include "PVGetSetLong.h"

CPVGetSetLong::CPVGetSetLong(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetIntegerValue(memberName, adapter) {}

CPVGetSetLong::~CPVGetSetLong() = default;
