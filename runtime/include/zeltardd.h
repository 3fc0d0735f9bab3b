// The data layer's public header: work areas, tables and their records,
// indexes and seek, the catalog tables, the temporary databases and the
// message log that the synchronisation uses, and the array rescue.
// runtime/data declares every export here, each with ZELTA_EXPORT. An area
// argument is null, NIL or NUL for the current area, a number for area n, or
// an alias; generated code passes the alias constant of `alias->` calls first.
#ifndef ZELTARDD_H
#define ZELTARDD_H

#include "zeltaobjs.h"

// Opening, creating and closing tables.
ZELTA_EXPORT pObj_Node __DBUSEAREA(pObj_Node newArea, pObj_Node driver, pObj_Node name, pObj_Node alias,
                                   pObj_Node shared = NULL, pObj_Node readOnly = NULL);
ZELTA_EXPORT pObj_Node __DBCREATE(pObj_Node name, pObj_Node structure, pObj_Node driver = NULL);
ZELTA_EXPORT pObj_Node __dbCloseAll();
ZELTA_EXPORT pObj_Node __DB_CloseArea(pObj_Node area);
ZELTA_EXPORT void __CloseTBL(int slot, int keepSlot);
ZELTA_EXPORT pObj_Node __TBL_DeleteDatabase(pObj_Node name);

// Areas and aliases.
ZELTA_EXPORT pObj_Node __Select(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_Select(pObj_Node area);
ZELTA_EXPORT pObj_Node __Alias(pObj_Node area = NULL);
ZELTA_EXPORT pObj_Node __Used();
// 0-based slot, -1 when an alias is not open.
ZELTA_EXPORT int __GetAliasID(pObj_Node area);
// Driver kind of the area (0: the local store; 6 when there is no such area).
ZELTA_EXPORT int __GetRddKind(pObj_Node area, int* slot);

// The record pointer.
ZELTA_EXPORT pObj_Node __TBL_GoTop(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_GoBottom(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_GoTo(pObj_Node area, pObj_Node record);
ZELTA_EXPORT pObj_Node __TBL_Skip(pObj_Node area, pObj_Node n = NULL);
ZELTA_EXPORT pObj_Node __TBL_Eof(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_Bof(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_Found(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_RecNo(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_RecCount(pObj_Node area);

// Structure.
ZELTA_EXPORT pObj_Node __TBL_Fcount(pObj_Node area);
// The most bytes a stored record of the current area's table can take.
ZELTA_EXPORT pObj_Node __TBL_RecSize();
ZELTA_EXPORT pObj_Node __FieldLen(pObj_Node area, pObj_Node field);
ZELTA_EXPORT pObj_Node __FieldDecLen(pObj_Node area, pObj_Node field);
ZELTA_EXPORT pObj_Node __FieldType(pObj_Node area, pObj_Node field);
ZELTA_EXPORT pObj_Node __DBStruct(pObj_Node area);

// Records.
ZELTA_EXPORT pObj_Node __DBAPPEND(pObj_Node area, pObj_Node unused = NULL);
ZELTA_EXPORT pObj_Node __SetField(pObj_Node area, pObj_Node position, pObj_Node value);
ZELTA_EXPORT pObj_Node __GetField(pObj_Node area, pObj_Node position);
ZELTA_EXPORT pObj_Node __GetFieldByID(pObj_Node area, pObj_Node position);
ZELTA_EXPORT pObj_Node __GetFieldByName(pObj_Node area, pObj_Node name);
ZELTA_EXPORT pObj_Node __GetFieldName(pObj_Node area, pObj_Node position);
ZELTA_EXPORT pObj_Node __GetFieldPos(pObj_Node area, pObj_Node name);
ZELTA_EXPORT pObj_Node __TBL_Delete(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_Recall(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_Deleted(pObj_Node area);
ZELTA_EXPORT pObj_Node __Commit(pObj_Node area);
ZELTA_EXPORT pObj_Node __CommitAll();
ZELTA_EXPORT pObj_Node __AbortEdit(pObj_Node area);
ZELTA_EXPORT pObj_Node SETDIRTY(pObj_Node area, pObj_Node record, pObj_Node flag);
ZELTA_EXPORT pObj_Node __IsDirty(pObj_Node area, pObj_Node record = NULL);
ZELTA_EXPORT pObj_Node __dbZap(pObj_Node area);
ZELTA_EXPORT pObj_Node __dbPack(pObj_Node area);

// TRUE when a file of that name exists (a relative name against the current
// directory); a name that is not a string raises ARGUMENT ERROR.
ZELTA_EXPORT pObj_Node __File(pObj_Node name);
// Bytes free on the file system of the application directory.
ZELTA_EXPORT pObj_Node GETSPACE(pObj_Node card = NULL, pObj_Node kind = NULL);

// Indexes and seek. An index is named by its name in upper case; n counts
// the table's indexes from 1.
ZELTA_EXPORT pObj_Node __DBCREATEINDEX(pObj_Node area, pObj_Node name, pObj_Node key, pObj_Node unused = NULL);
ZELTA_EXPORT pObj_Node __DBDROPINDEX(pObj_Node area, pObj_Node name);
ZELTA_EXPORT pObj_Node __UseIndex(pObj_Node area, pObj_Node name);
ZELTA_EXPORT pObj_Node __ClearIndex(pObj_Node area);
ZELTA_EXPORT pObj_Node __TBL_SetOrder(pObj_Node area, pObj_Node n);
ZELTA_EXPORT pObj_Node __IndexOrd(pObj_Node area);
ZELTA_EXPORT pObj_Node __IndexKey(pObj_Node area, pObj_Node n = NULL);
ZELTA_EXPORT pObj_Node __Reindex(pObj_Node area);
ZELTA_EXPORT pObj_Node __Seek(pObj_Node area, pObj_Node key, pObj_Node soft = NULL);
ZELTA_EXPORT void __CloseAllIdx(int slot);
ZELTA_EXPORT int __OpenIDX(int slot, int card, int mode, const char* name, int makeActive);
ZELTA_EXPORT int __CloseIDX(int slot, const char* name);
ZELTA_EXPORT int __GetIdxInd(int slot, const char* name);
ZELTA_EXPORT int __GetFirstOpenIDX(int slot);
// On an index database: the first position whose key starts with the
// keyLength key bytes after the 4-byte prefix of keyBuffer; 1 when it does.
ZELTA_EXPORT int FindKeyInIndexFile(void* index, const char* keyBuffer, int keyLength, uint32_t* position);
ZELTA_EXPORT int FindRecnoInIndexFile(void* index, uint32_t record, uint32_t* position);
ZELTA_EXPORT int OrdenarIndice(void* index);

// Rescue of registered arrays after a fatal error.
ZELTA_EXPORT pObj_Node __RegisterArray(pObj_Node name, pObj_Node array = NULL);
ZELTA_EXPORT pObj_Node ExecDumpArray(pObj_Node name, pObj_Node array);
ZELTA_EXPORT pObj_Node __RestoreArray(pObj_Node name);

// Temporary databases; a handle is an open database of the store.
ZELTA_EXPORT void* __OpenTmpDb(int card, const char* name, int empty, int kind);
ZELTA_EXPORT int __DeleteTmpDb(int card, const char* name, int kind);
// Copies record `index` (at most `limit` bytes when limit > 0); its length,
// 0 when out of range.
ZELTA_EXPORT int __ReadTmpDb(void* handle, int index, char* buffer, int limit);
ZELTA_EXPORT int GetTmpDbQtdRecs(void* handle);
ZELTA_EXPORT int EnqueueDelete(const char* name);
ZELTA_EXPORT int DeleteEnqueued();
ZELTA_EXPORT int Op_DeleteTbl(const char* name);
ZELTA_EXPORT int CloseCatalog();

// The catalog tables ZEL_TBL (0), ZEL_IND (1), ZEL_COLS (2), or all three (3):
// created when missing, opened when not open; 1 on success.
ZELTA_EXPORT int OpenCatalogTables(int what);
ZELTA_EXPORT int CreateSysTables();
ZELTA_EXPORT int CreateSysCols();
ZELTA_EXPORT int CreateSysIndex();
// The first byte of record 0 of a download file: its sync kind.
ZELTA_EXPORT int __GetFlagTbl(void* handle);

// The message log ("MSGLOG.tLog"). __ReadMsgLog copies at most 250 bytes
// and a zero into a buffer of at least 251; it returns the length.
ZELTA_EXPORT int __OpenMsgLog(int empty);
ZELTA_EXPORT void __WriteMsgLog(const char* text);
ZELTA_EXPORT int __ReadMsgLog(int index, char* buffer);
ZELTA_EXPORT int __GetAmnRecsMsgLog();
ZELTA_EXPORT int __CloseMsgLog();
ZELTA_EXPORT pObj_Node WRITELOG(pObj_Node text = NULL);

#endif
