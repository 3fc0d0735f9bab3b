// The built-in catalogue: every built-in function class with the run-time
// entry point it calls and its arity. The grammar builds these classes by
// name; the lists below declare them, and the same lists fill kBuiltins, so
// the catalogue is written once. Fixed-arity calls pad short argument lists
// with NULL; work-area operations take the alias first.
#pragma once

#include "calls.h"

// ORDER BUILTIN_EXPORTS: the entry points must stay in step with the
// run-time's exports, which carry the same tag (runtime/include/zeltaobjs.h).
// Each row: class, entry point, arity, and the run-time folder whose public
// header declares the entry point (core, lib, data, sync, ui), or `device`
// for the entries only device builds of the run-time provide. The export
// test (tests/unit/runtime/exports) checks the rows against libzeltace.so.
#define ZELTA_FIXED_BUILTINS(X)                                 \
    X(tTime, "__Time", 0, lib)                                  \
    X(tElapTime, "__ElapTime", 2, lib)                          \
    X(tAlert, "__Alert", 1, ui)                                 \
    X(tAAdd, "__AAdd", 2, lib)                                  \
    X(tAClone, "__AClone", 1, lib)                              \
    X(tACopy, "__ACopy", 5, lib)                                \
    X(tADel, "__ADel", 1, lib)                                  \
    X(tAFill, "__AFill", 4, lib)                                \
    X(tAIns, "__AIns", 2, lib)                                  \
    X(tASize, "__ASize", 2, lib)                                \
    X(tASort, "__ASort", 1, device)                             \
    X(tLen, "__Len", 1, core)                                   \
    X(tAllTrim, "__AllTrim", 1, lib)                            \
    X(tRTrim, "__RTrim", 1, lib)                                \
    X(tLTrim, "__LTrim", 1, lib)                                \
    X(tSpace, "__Space", 1, lib)                                \
    X(tReplicate, "__Replicate", 2, lib)                        \
    X(tStr, "__Str", 3, lib)                                    \
    X(tSubStr, "__SubStr", 3, lib)                              \
    X(tStrZero, "__StrZero", 3, lib)                            \
    X(tAt, "__At", 2, lib)                                      \
    X(tInt, "__Int", 1, core)                                   \
    X(tChr, "__Chr", 1, lib)                                    \
    X(tDevOut, "__devout", 0, device)                           \
    X(tCtod, "__Ctod", 2, lib)                                  \
    X(tDtoc, "__Dtoc", 2, lib)                                  \
    X(tDtos, "__Dtos", 1, lib)                                  \
    X(tDate, "__Date", 0, lib)                                  \
    X(tDay, "__Day", 1, lib)                                    \
    X(tMonth, "__Month", 1, lib)                                \
    X(tYear, "__Year", 1, lib)                                  \
    X(tSet, "__Set", 2, core)                                   \
    X(tSetCentury, "__SetCentury", 1, core)                     \
    X(tDbCreate, "__DBCREATE", 3, data)                         \
    X(tDbUseArea, "__DBUSEAREA", 6, data)                       \
    X(tFile, "__File", 1, data)                                 \
    X(tDbCloseAll, "__dbCloseAll", 0, data)                     \
    X(tDbCommitAll, "__CommitAll", 0, data)                     \
    X(tUsed, "__Used", 0, data)                                 \
    X(tDbSelectArea, "__TBL_Select", 1, data)                   \
    X(tSelect, "__Select", 1, data)                             \
    X(tFErase, "__FErase", 1, device)                           \
    X(tDlgCreate, "__ObjWin", 8, ui)                            \
    X(tDlgActivate, "__ActivateWin", 1, ui)                     \
    X(tKillTimer, "__TimerDestroy", 1, ui)                      \
    X(tAddTimer, "ADDTIMER", 2, ui)                             \
    X(tSetTimerInt, "__SetTimerInt", 2, ui)                     \
    X(tSmsSendMsg, "__SendSmsMsg", 5, device)                   \
    X(tSmsReadMsg, "__ReadSmsMsg", 0, device)                   \
    X(tSmsOpen, "__SmsOpen", 1, device)                         \
    X(tSmsClose, "__SmsClose", 0, device)                       \
    X(tActivateTimer, "ACTIVETIMER", 1, ui)                     \
    X(tFonetizar, "__Fonetizar", 2, lib)                        \
    X(tSetBatch, "SETBATCHOPER", 1, device)                     \
    X(tSetGeometry, "__SetGeometry", 1, ui)                     \
    X(tShowSip, "__ShowSip", 1, ui)                             \
    X(tGetPictSize, "__PictureSize", 1, ui)                     \
    X(tGetLastFld, "__GetLastFldFocus", 0, ui)                  \
    X(tGetSerial, "GetSerial", 0, ui)                           \
    X(tExecute, "__Execute", 1, ui)                             \
    X(tStartServer, "__StartServer", 3, device)                 \
    X(tConnectConsole, "__ConnectConsole", 2, device)           \
    X(tSendConsole, "__SendConsole", 2, device)                 \
    X(tReadConsole, "__ReadConsole", 2, device)                 \
    X(tCheckProcess, "__CheckProcess", 1, device)               \
    X(tRegGetData, "__RegGetData", 3, device)                   \
    X(tRegSetData, "__RegSetData", 4, device)                   \
    X(tGetSDName, "__GetSDName", 0, device)                     \
    X(tIsTouch, "__IsTouch", 0, ui)                             \
    X(tGetGeometry, "__GetGeometry", 0, ui)                     \
    X(tRight, "__Right", 2, lib)                                \
    X(tLeft, "__Left", 2, lib)                                  \
    X(tSuspendTimer, "DEACTIVETIMER", 1, ui)                    \
    X(tAddMenuBar, "__AddMenuBar", 3, ui)                       \
    X(tAddMenuItem, "__AddMenuItem", 3, ui)                     \
    X(tCloseDialog, "__CloseDialog", 0, ui)                     \
    X(tSay, "__NewLabel", 10, ui)                               \
    X(tGet, "__NewField", 19, ui)                               \
    X(tButton, "__NewButtom", 14, ui)                           \
    X(tListBox, "__NewList", 11, ui)                            \
    X(tComboBox, "__NewComboBox", 10, ui)                       \
    X(tNewFolder, "__NewFolder", 5, ui)                         \
    X(tSetFolder, "__SetDefaultFolder", 2, ui)                  \
    X(tBox, "__Box", 8, ui)                                     \
    X(tMsgAlert, "__MsgAlert", 2, core)                         \
    X(tMsgStop, "__MsgStop", 2, core)                           \
    X(tMsgYesOrNo, "__MsgYesNo", 2, core)                       \
    X(tValType, "__Type", 1, core)                              \
    X(tVal, "__Val", 1, lib)                                    \
    X(tUpper, "__Upper", 1, lib)                                \
    X(tLower, "__Lower", 1, lib)                                \
    X(tEmpty, "__Empty", 1, core)                               \
    X(tMin, "__Min", 2, core)                                   \
    X(tMax, "__Max", 2, core)                                   \
    X(tAbs, "__Abs", 1, core)                                   \
    X(tCdow, "__CDow", 1, lib)                                  \
    X(tDow, "__Dow", 1, lib)                                    \
    X(tCmonth, "__CMonth", 1, lib)                              \
    X(tRound, "__Round", 2, core)                               \
    X(tShowControl, "ShowControl", 1, ui)                       \
    X(tHideControl, "HideControl", 1, ui)                       \
    X(tEnableControl, "EnableControl", 1, ui)                   \
    X(tDisableControl, "DisableControl", 1, ui)                 \
    X(tSetText, "SetText", 2, ui)                               \
    X(tSetArray, "SetArray", 2, ui)                             \
    X(tBrowse, "__CreateArrayBrowse", 9, device)                \
    X(tMeter, "__NewProgress", 9, ui)                           \
    X(tSetMeter, "__StatusIncrement", 4, ui)                    \
    X(tSqrt, "__Sqrt", 1, core)                                 \
    X(tKeyboard, "__KeyBoard", 2, ui)                           \
    X(tSelectDate, "__SelectDay", 2, ui)                        \
    X(tGetSignature, "__GetSignature", 1, device)               \
    X(tShowSignature, "__ShowSignature", 3, device)             \
    X(tDelSignature, "__DelSignature", 1, device)               \
    X(tValidCPF, "__ValidCPF", 1, lib)                          \
    X(tValidCGC, "__ValidCGC", 1, lib)                          \
    X(tGrid, "__NewGrid", 9, ui)                                \
    X(tGridArray, "__GridArray", 2, ui)                         \
    X(tGridColumn, "__GridColumn", 10, ui)                      \
    X(tGridCellColor, "__GridSetCellColor", 5, ui)              \
    X(tTransform, "__Transform", 2, lib)                        \
    X(tMsgStatus, "__SetInfoWindow", 1, ui)                     \
    X(tClearStatus, "__ClearInfoWindow", 0, ui)                 \
    X(tGridReset, "__GridReset", 1, ui)                         \
    X(tGridRow, "__GridRow", 1, ui)                             \
    X(tGridCol, "__GridCol", 1, ui)                             \
    X(tGridSetRow, "__GridSetRow", 1, ui)                       \
    X(tGridRows, "__GridRows", 1, ui)                           \
    X(tGridLeft, "__GridLeft", 1, ui)                           \
    X(tGridRight, "__GridRight", 1, ui)                         \
    X(tListRows, "__ListRows", 1, ui)                           \
    X(tSortArray, "__ASORT", 5, lib)                            \
    X(tScanArray, "__AScan", 5, lib)                            \
    X(tPROW, "__PROW", 0, ui)                                   \
    X(tASC, "__Asc", 1, lib)                                    \
    X(tGetRTVer, "__GetRTVer", 0, core)                         \
    X(tPAD, "__Pad", 3, lib)                                    \
    X(tPADR, "__PadR", 3, lib)                                  \
    X(tPADL, "__PadL", 3, lib)                                  \
    X(tREINDEX, "__Reindex", 1, data)                           \
    X(tGetObjPos, "GetCtrlPos", 1, ui)                          \
    X(tGetObjSize, "GetCtrlSz", 1, ui)                          \
    X(tGetObjValue, "__GetObjValue", 1, ui)                     \
    X(tMoveControl, "MoveControl", 3, ui)                       \
    X(tShowBitMap, "ShowBitMap", 2, ui)                         \
    X(tSetListRow, "__SetListRow", 2, ui)                       \
    X(tExistBlock, "ExistBlock", 1, core)                       \
    X(tExecBlock, "ExecBlock", 5, core)                         \
    X(tEval, "__Eval", 2, core)                                 \
    X(tSetRasParams, "__SetRasParams", 1, sync)                 \
    X(tGetSetOnChange, "__GetOnChange", 2, ui)                  \
    X(tIsAlpha, "__IsAlpha", 1, lib)                            \
    X(tIsDigit, "__IsDigit", 1, lib)                            \
    X(tStrTran, "__StrTran", 5, lib)                            \
    X(tFieldLen, "__FieldLen", 2, data)                         \
    X(tFieldDecLen, "__FieldDecLen", 2, data)                   \
    X(tFieldType, "__FieldType", 2, data)                       \
    X(tRegisterArray, "__RegisterArray", 1, lib)                \
    X(tSetErrorLang, "__SetErrorLang", 1, core)                 \
    X(tSetDirty, "SETDIRTY", 3, data)                           \
    X(tRestoreArray, "__RestoreArray", 1, lib)                  \
    X(tRegisterExit, "__RegisterExit", 1, core)                 \
    X(tExecDumpArray, "ExecDumpArray", 2, lib)                  \
    X(tGetSpace, "GETSPACE", 2, data)                           \
    X(tNewBitMap, "NewBitMap", 9, ui)                           \
    X(tResizeControl, "ResizeControl", 3, ui)                   \
    X(tCOL, "__PCOL", 0, ui)                                    \
    X(tPSetFont, "__PrintSetFont", 7, ui)                       \
    X(tLoadPrint, "__LoadPrint", 8, ui)                         \
    X(tUnLoadPrint, "__UnLoadPrint", 0, ui)                     \
    X(tIsPrintOn, "__IsPrintOn", 0, ui)                         \
    X(tPrintSay, "__PrintSay", 5, ui)                           \
    X(tPrintSetFont, "__PrintSetFont", 7, ui)                   \
    X(tRAT, "__Rat", 2, lib)                                    \
    X(tSetFocus, "__SetFocus", 1, ui)                           \
    X(tConnectServer, "__ConnServer", 0, sync)                  \
    X(tDisconnectServer, "__DisConnServer", 1, sync)            \
    X(tRPCGeneric, "__ExecRPCGen", 4, sync)                     \
    X(tGetConnection, "__GetConnServer", 0, sync)               \
    X(tSyncCfg, "__SyncCfg", 0, sync)                           \
    X(tSyncLog, "__SyncLog", 0, sync)                           \
    X(tSyncData, "__SyncData", 1, sync)                         \
    X(tSyncDate, "__SyncDate", 0, sync)                         \
    X(tRPCQuery, "__ExecRPCQuery", 3, sync)                     \
    X(tRPCXml, "__ExecRPCXml", 2, sync)                         \
    X(tRPCSelect, "__ExecRPCSelect", 3, sync)                   \
    X(tRPCMarhold, "__ExecRPMarhold", 3, sync)                  \
    X(tVaskoMonitor, "__VaskoMonitor", 2, sync)                 \
    X(tVaskoMonitorExec, "__VaskoMonitorExec", 2, sync)         \
    X(tVaskoMonitorDis, "__VaskoMonitorDis", 0, sync)           \
    X(tDoSync, "__DoSync", 7, sync)                             \
    X(tGetProfileCon, "__GetProfileCon", 1, device)             \
    X(tGetProfileNet, "__GetProfileNet", 1, device)             \
    X(tSetProfileNet, "__SetProfileNet", 2, device)             \
    X(tGetActiveProfileNet, "__GetActiveProfileNet", 1, device) \
    X(tAddProfileNet, "__AddProfileNet", 1, device)             \
    X(tAddProfileCon, "__AddProfileCon", 1, device)             \
    X(tSetInputStatus, "__SetInputStatus", 1, ui)               \
    X(tSetTbStatus, "__SetTbStatus", 1, ui)                     \
    X(tSetSipStatus, "__SetSipStatus", 1, ui)                   \
    X(tSetSipPos, "__SetSipPos", 1, ui)                         \
    X(tInputBox, "__InputBox", 5, ui)                           \
    X(tBeep, "__Beep", 1, ui)                                   \
    X(tGetPdaModel, "__GetPdaModel", 0, ui)                     \
    X(tGetSyncVer, "__GetSyncVer", 0, sync)                     \
    X(tCaptureCode, "__CaptureCode", 0, device)                 \
    X(tDoEncode, "__DoEncode", 1, sync)                         \
    X(tDoDecode, "__DoDecode", 1, sync)                         \
    X(tSetCheckBuffer, "__SetCheckBuffer", 1, core)             \
    X(tSetEncode, "__SetEncode", 1, core)                       \
    X(tGetLastZero, "__GetLastZero", 1, sync)                   \
    X(tDBGrid, "__new_DBBrowser", 10, ui)                       \
    X(tDBColumn, "__addcol_DBBrowser", 8, ui)                   \
    X(tDBSearch, "__set_DBBrowser_search", 2, ui)               \
    X(tSetObjColor, "__SetObjColor", 5, ui)                     \
    X(tUseScanner, "__UseScanner", 4, ui)                       \
    X(tPrintCommand, "__PrintCommand", 1, ui)                   \
    X(tEzeltaTest, "__EzeltaTest", 0, device)                   \
    X(tCryptoData, "__CryptoData", 2, sync)                     \
    X(tCameraCapture, "__CameraCapture", 1, device)             \
    X(tSendImage, "__SendImage", 1, sync)

#define ZELTA_DB_BUILTINS(X)                      \
    X(tDbEof, "__TBL_Eof", 0, data)               \
    X(tDbBof, "__TBL_Bof", 0, data)               \
    X(tDbAppend, "__DBAPPEND", 1, data)           \
    X(tDbGoTop, "__TBL_GoTop", 0, data)           \
    X(tDbGoBottom, "__TBL_GoBottom", 0, data)     \
    X(tDbSkip, "__TBL_Skip", 1, data)             \
    X(tRecCount, "__TBL_RecCount", 0, data)       \
    X(tRecno, "__TBL_RecNo", 0, data)             \
    X(tDbCloseArea, "__DB_CloseArea", 0, data)    \
    X(tDbGoto, "__TBL_GoTo", 1, data)             \
    X(tDbCreateIndex, "__DBCREATEINDEX", 3, data) \
    X(tDbSetIndex, "__UseIndex", 1, data)         \
    X(tDbClearIndex, "__ClearIndex", 0, data)     \
    X(tDbSetOrder, "__TBL_SetOrder", 1, data)     \
    X(tIndexOrd, "__IndexOrd", 0, data)           \
    X(tIndexKey, "__IndexKey", 1, data)           \
    X(tDbCommit, "__Commit", 0, data)             \
    X(tDbAlias, "__Alias", 0, data)               \
    X(tDbDelete, "__TBL_Delete", 0, data)         \
    X(tDbRecall, "__TBL_Recall", 0, data)         \
    X(tFound, "__TBL_Found", 0, data)             \
    X(tFCount, "__TBL_Fcount", 0, data)           \
    X(tDbStruct, "__DBStruct", 0, data)           \
    X(tDeleted, "__TBL_Deleted", 0, data)         \
    X(tDbPack, "__dbPack", 0, data)               \
    X(tDbZap, "__dbZap", 0, data)                 \
    X(tDbSeek, "__Seek", 2, data)                 \
    X(tFieldGet, "__GetFieldByID", 1, data)       \
    X(tFieldPut, "__SetField", 2, data)           \
    X(tFieldPos, "__GetFieldPos", 1, data)        \
    X(tIsDirty, "__IsDirty", 1, data)

// Variable arity: the arguments end with __INIT_NUL().
#define ZELTA_VARIANT_BUILTINS(X) X(tArrayF, "__Array", -1, lib)
// ORDER BUILTIN_EXPORTS end

#define ZELTA_DECLARE_FIXED(cls, entry, arity, folder)                          \
    class cls : public tFixedCall {                                             \
    public:                                                                     \
        explicit cls(tInstruction* args = nullptr) : tFixedCall(args, arity) {} \
        void generate() override;                                               \
    };
#define ZELTA_DECLARE_DB(cls, entry, arity, folder)                          \
    class cls : public tDbOper {                                             \
    public:                                                                  \
        explicit cls(tInstruction* args = nullptr) : tDbOper(args, arity) {} \
        void generate() override;                                            \
    };
#define ZELTA_DECLARE_VARIANT(cls, entry, arity, folder)                   \
    class cls : public tVariantCall {                                      \
    public:                                                                \
        explicit cls(tInstruction* args = nullptr) : tVariantCall(args) {} \
        void generate() override;                                          \
    };
ZELTA_FIXED_BUILTINS(ZELTA_DECLARE_FIXED)
ZELTA_DB_BUILTINS(ZELTA_DECLARE_DB)
ZELTA_VARIANT_BUILTINS(ZELTA_DECLARE_VARIANT)
#undef ZELTA_DECLARE_FIXED
#undef ZELTA_DECLARE_DB
#undef ZELTA_DECLARE_VARIANT

enum class tCallShape { fixed, workArea, variant };

struct tBuiltinEntry {
    const char* className;
    const char* entryPoint;
    int arity;  // -1 for variable arity
    tCallShape shape;
    const char* folder;  // "core", "lib", "data", "sync", "ui" or "device"
};

// Every catalogue entry, fixed-arity ones first, then work-area operations,
// then variable arity, each in catalogue order.
extern const tBuiltinEntry kBuiltins[];
extern const int kBuiltinCount;
