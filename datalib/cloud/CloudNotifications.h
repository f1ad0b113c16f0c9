#pragma once

// Names the sync engine posts on NotificationCenter::defaultCenter() for every change that
// arrived from the cloud. The user info holds "date": a moment in seconds since
// 2001-01-01 UTC (the record's own moment, or the moment of posting); the quota name has
// no user info.
namespace CloudNotifications {

inline constexpr const char* dateKey = "date";

} // namespace CloudNotifications

inline constexpr const char* ZestraCloudSynchronizationStarted =
    "ZestraCloudSynchronizationStarted";
inline constexpr const char* ZestraCloudSynchronizationEnd = "ZestraCloudSynchronizationEnd";
inline constexpr const char* ZestraCloudTaskInfoCreated = "ZestraCloudTaskInfoCreated";
inline constexpr const char* ZestraCloudTaskInfoUpdated = "ZestraCloudTaskInfoUpdated";
inline constexpr const char* ZestraCloudTaskInfoDeleted = "ZestraCloudTaskInfoDeleted";
inline constexpr const char* ZestraCloudTaskCreated = "ZestraCloudTaskCreated";
inline constexpr const char* ZestraCloudTaskUpdated = "ZestraCloudTaskUpdated";
inline constexpr const char* ZestraCloudTaskDeleted = "ZestraCloudTaskDeleted";
inline constexpr const char* ZestraCloudSessionCreated = "ZestraCloudSessionCreated";
inline constexpr const char* ZestraCloudGoalCreated = "ZestraCloudGoalCreated";
inline constexpr const char* ZestraCloudThiefCreated = "ZestraCloudThiefCreated";
inline constexpr const char* ZestraCloudThiefUpdated = "ZestraCloudThiefUpdated";
inline constexpr const char* ZestraCloudWorkActivityCreated = "ZestraCloudWorkActivityCreated";
inline constexpr const char* ZestraCloudWorkActivityDeleted = "ZestraCloudWorkActivityDeleted";
inline constexpr const char* ZestraCloudQuotaExceeded = "ZestraCloudQuotaExceeded";
