// The synchronisation folder's public header for the session and its
// connection, serial ports, Base64 and compression. runtime/sync declares
// those exports here, each with ZELTA_EXPORT; its RPC calls are in
// zeltarpc.h.
#ifndef ZELTANET_H
#define ZELTANET_H

#include "zeltaobjs.h"

// The connection state block: allocated on first use; 1 when it exists.
ZELTA_EXPORT int __VerifyNetGlb();

// The packet buffer at the block's position. Writers return 1, or 0 when the
// field would pass the largest payload (the request is then not sent);
// numbers are in the session's byte order.
ZELTA_EXPORT void Reset();
ZELTA_EXPORT void SetBuffer();
ZELTA_EXPORT int WriteInt(int32_t value);
ZELTA_EXPORT int WriteUInt(uint32_t value);
ZELTA_EXPORT int WriteUShort(uint16_t value);
ZELTA_EXPORT int WriteByte(uint8_t value);
ZELTA_EXPORT int WriteString(const char* text);
ZELTA_EXPORT int WriteBuffer(const void* data, int length);
// Readers of the last packet read; past its end they give 0 or "".
ZELTA_EXPORT int32_t ReadInt();
ZELTA_EXPORT int32_t ReadLong();
ZELTA_EXPORT uint32_t ReadUInt();
ZELTA_EXPORT int16_t ReadShort();
ZELTA_EXPORT uint8_t ReadByte();
ZELTA_EXPORT const char* ReadString();

// The sync session: the status code of the session as a number (0 = success).
ZELTA_EXPORT pObj_Node __DoSync(pObj_Node type, pObj_Node host, pObj_Node port, pObj_Node timeout, pObj_Node user,
                                pObj_Node device, pObj_Node filter);
ZELTA_EXPORT int DoSync(const char* host, int port, const char* user, const char* deviceType, const char* deviceId,
                        int timeout, void* progress1, void* progress2, void* progress3, void* progress4);

// The session's other entries: the date of the last good session
// ("YYYYMMDD", "19900101" when none), the profile appended to an array, the
// mode byte of the connection state block, and the sync configuration block
// (with `checkInstaller`, a missing installer is reported).
ZELTA_EXPORT pObj_Node __SyncDate();
ZELTA_EXPORT pObj_Node __SyncData(pObj_Node array);
ZELTA_EXPORT pObj_Node __GetSyncType();
ZELTA_EXPORT int __VerifyNgGlb(int checkInstaller);
// The sync window (its start button runs the session), the configuration
// dialog that writes CAD_USER, and the history of the message log.
ZELTA_EXPORT pObj_Node __VASKOSYNC();
ZELTA_EXPORT pObj_Node __SyncCfg();
ZELTA_EXPORT pObj_Node __SyncLog();

// The protocol version this run-time speaks ("6.0.0"), and the dial-up
// parameters, accepted and unused on this host (NIL, a text or an array).
ZELTA_EXPORT pObj_Node __GetSyncVer();
ZELTA_EXPORT pObj_Node __SetRasParams(pObj_Node params);

// Text n (0 .. 117) of the sync message table in the current language; ""
// above 117.
ZELTA_EXPORT pObj_Node __GetSyncMsg(pObj_Node index);

// Serial port (the device named by ZELTA_COM1, default /dev/ttyS0).
ZELTA_EXPORT pObj_Node OPENCOM(pObj_Node port = NULL, pObj_Node baud = NULL, pObj_Node line1 = NULL,
                               pObj_Node line2 = NULL, pObj_Node line3 = NULL);
ZELTA_EXPORT pObj_Node CLOSECOM(pObj_Node handle = NULL);
ZELTA_EXPORT pObj_Node READCOM(pObj_Node handle = NULL, pObj_Node buffer = NULL, pObj_Node count = NULL);
ZELTA_EXPORT pObj_Node WRITECOM(pObj_Node handle = NULL, pObj_Node text = NULL, pObj_Node count = NULL);

// Base64 on C buffers (foreign-call wrappers): Encode64's buffer is freed
// with FreeEncode64. Decode64 takes the text length in *length and leaves
// the byte count there; `out` must hold *length + 1 bytes.
ZELTA_EXPORT unsigned char* Encode64(unsigned char* data, int length);
ZELTA_EXPORT void FreeEncode64(unsigned char* buffer);
ZELTA_EXPORT void Decode64(unsigned char* text, unsigned char* out, long* length);
ZELTA_EXPORT pObj_Node __DoEncode(pObj_Node text);
ZELTA_EXPORT pObj_Node __DoDecode(pObj_Node text);
ZELTA_EXPORT pObj_Node __CryptoData(pObj_Node text, pObj_Node key);
// 1-based position of the last zero byte within `length`, 0 when none.
ZELTA_EXPORT int FindLastZero(const char* buffer, int length);
ZELTA_EXPORT pObj_Node __GetLastZero(pObj_Node text);

#endif
