#pragma once

#include "device/HidService.h"
#include "hidlane/hidlane.h"

namespace quillmar::testing {

// The simulated keyboard's entry points as linked into this executable
// (hidlane_sim_static), bound the way the program binds the loaded library.
inline device::HidService linkedSimService() {
    device::HidService service;
    service.Debug = &::Debug;
    service.Init = &::Init;
    service.End = &::End;
    service.RequestGetDeviceCount = &::RequestGetDeviceCount;
    service.DeleteRequestFromUnitId = &::DeleteRequestFromUnitId;
    service.DeleteRequestFromHandle = &::DeleteRequestFromHandle;
    service.RequestWrite = &::RequestWrite;
    service.RequestWriteOne = &::RequestWriteOne;
    service.RequestStatusWrite = &::RequestStatusWrite;
    service.RequestStatusGet = &::RequestStatusGet;
    service.RequestAsyncRead = &::RequestAsyncRead;
    service.RequestStatusSetFeature = &::RequestStatusSetFeature;
    return service;
}

}  // namespace quillmar::testing
