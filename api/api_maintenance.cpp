// The public unit maintenance operations: deletion, export and removal of
// a unit, verify and rebuild, the write-cache flush, a port's drive, the
// commit and the media scan.
#include "api/api.h"
#include "api/dispatch.h"

namespace Api {

int DeleteUnit(ObjectId unit, uint8_t makeOsAware) {
    return Dispatch::DeleteUnit(unit, makeOsAware);
}
int ExportUnit(ObjectId unit, uint8_t makeOsAware) {
    return Dispatch::ExportUnit(unit, makeOsAware);
}
int RemoveUnit(ObjectId unit, uint8_t makeOsAware) {
    return Dispatch::RemoveUnit(unit, makeOsAware);
}
int VerifyUnit(ObjectId unit) {
    return Dispatch::VerifyUnit(unit, 0);
}
int StopVerifyUnit(ObjectId unit) {
    return Dispatch::VerifyUnit(unit, 1);
}
int RebuildUnit(ObjectId unit, const ObjectIdList128* drives, uint8_t ignoreEcc) {
    return Dispatch::RebuildUnit(unit, drives, ignoreEcc);
}
int PauseRebuild(ObjectId unit) {
    return Dispatch::PauseRebuild(unit);
}
int ResumeRebuild(ObjectId unit) {
    return Dispatch::ResumeRebuild(unit);
}
int FlushWriteCache(ObjectId unit) {
    return Dispatch::FlushWriteCache(unit);
}
int CommitTransactions(ObjectId controller) {
    return Dispatch::CommitTransactions(controller);
}
int StartMediaScan(ObjectId controller) {
    return Dispatch::StartMediaScan(controller);
}
int StopMediaScan(ObjectId controller) {
    return Dispatch::StopMediaScan(controller);
}
int ImportUnit(ObjectIdList128* drives, uint8_t makeOsAware, ObjectIdList128* newUnits) {
    return Dispatch::ImportUnit(drives, makeOsAware, newUnits);
}
int SplitMirror(ObjectId unit, uint8_t makeOsAware, ObjectIdList128* newUnits) {
    return Dispatch::SplitMirror(unit, makeOsAware, newUnits);
}
}  // namespace Api
