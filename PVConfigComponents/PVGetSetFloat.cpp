#include "PVGetSetFloat.h"

CPVGetSetFloat::CPVGetSetFloat(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetFloatValue(memberName, adapter) {}

CPVGetSetFloat::~CPVGetSetFloat() = default;
