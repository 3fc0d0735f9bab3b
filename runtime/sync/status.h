// Status codes of the connection state block: the last failure of a session,
// 0 while all is well (docs/sync.md tells users what each means).
#ifndef ZELTA_RUNTIME_SYNC_STATUS_H
#define ZELTA_RUNTIME_SYNC_STATUS_H

namespace sync {

enum Status {
  kStatusNone = 0,
  kStatusTransmission = 1074,   // server error inside a download, or a stored size above the limit
  kStatusSocketLibrary = 1106,  // socket library not started
  kStatusSocketVersion = 1107,  // socket library version refused
  kStatusConnectFailed = 1108,  // connection failed
  kStatusLoginNotSent = 1109,
  kStatusLoginNotRead = 1110,
  kStatusUserRefused = 1111,
  kStatusVersionDiffers = 1113,
  kStatusTaskCountNotSent = 1116,  // also: temporary database not opened
  kStatusTaskCountNotRead = 1117,
  kStatusTaskRefused = 1118,
  kStatusHostNotResolved = 1125,
  kStatusSocketNotCreated = 1135,
  kStatusUploadNotRead = 1136,
  kStatusUploadNotSent = 1137,
  kStatusUploadReplyNotRead = 1138,
  kStatusUploadRefused = 1139,
  kStatusTaskNotRead = 1142,
  kStatusBuffersMissing = 1143,
  kStatusInstallNotOpened = 1119,    // the file to install could not be created
  kStatusInstallStartNotSent = 1139,  // install transfer request (shares 1139 with uploads)
  kStatusInstallStartNotRead = 1140,
  kStatusInstallChunk = 1141,  // a chunk of the file missing or damaged
  kStatusBadTaskType = 1148,
  kStatusInstallInfoNotSent = 1150,
  kStatusInstallInfoNotRead = 1151,
  kStatusTaskRequested = 1162,  // while a task is being requested
  kStatusDownloadNotSent = 1172,
  kStatusDownloadBroken = 1173,  // a download packet missing, too long or not read
  kStatusRestart = 9999          // the application restarts for new components
};

}  // namespace sync

#endif
