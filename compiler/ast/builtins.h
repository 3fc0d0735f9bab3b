// The built-in catalogue: every built-in function class with the run-time
// entry point it calls and its arity. The grammar builds these classes by
// name; the lists below declare them, and the same lists fill kBuiltins, so
// the catalogue is written once. Fixed-arity calls pad short argument lists
// with NULL; work-area operations take the alias first.
#pragma once

#include "calls.h"

// ORDER BUILTIN_EXPORTS: the entry points must stay in step with the
// run-time's exports, which carry the same tag.
#define ZELTA_FIXED_BUILTINS(X)                         \
    X(tTime, "__Time", 0)                               \
    X(tElapTime, "__ElapTime", 2)                       \
    X(tAlert, "__Alert", 1)                             \
    X(tAAdd, "__AAdd", 2)                               \
    X(tAClone, "__AClone", 1)                           \
    X(tACopy, "__ACopy", 5)                             \
    X(tADel, "__ADel", 1)                               \
    X(tAFill, "__AFill", 4)                             \
    X(tAIns, "__AIns", 2)                               \
    X(tASize, "__ASize", 2)                             \
    X(tASort, "__ASort", 1)                             \
    X(tLen, "__Len", 1)                                 \
    X(tAllTrim, "__AllTrim", 1)                         \
    X(tRTrim, "__RTrim", 1)                             \
    X(tLTrim, "__LTrim", 1)                             \
    X(tSpace, "__Space", 1)                             \
    X(tReplicate, "__Replicate", 2)                     \
    X(tStr, "__Str", 3)                                 \
    X(tSubStr, "__SubStr", 3)                           \
    X(tStrZero, "__StrZero", 3)                         \
    X(tAt, "__At", 2)                                   \
    X(tInt, "__Int", 1)                                 \
    X(tChr, "__Chr", 1)                                 \
    X(tDevOut, "__devout", 0)                           \
    X(tCtod, "__Ctod", 2)                               \
    X(tDtoc, "__Dtoc", 2)                               \
    X(tDtos, "__Dtos", 1)                               \
    X(tDate, "__Date", 0)                               \
    X(tDay, "__Day", 1)                                 \
    X(tMonth, "__Month", 1)                             \
    X(tYear, "__Year", 1)                               \
    X(tSet, "__Set", 2)                                 \
    X(tSetCentury, "__SetCentury", 1)                   \
    X(tDbCreate, "__DBCREATE", 3)                       \
    X(tDbUseArea, "__DBUSEAREA", 6)                     \
    X(tFile, "__File", 1)                               \
    X(tDbCloseAll, "__dbCloseAll", 0)                   \
    X(tDbCommitAll, "__CommitAll", 0)                   \
    X(tUsed, "__Used", 0)                               \
    X(tDbSelectArea, "__TBL_Select", 1)                 \
    X(tSelect, "__Select", 1)                           \
    X(tFErase, "__FErase", 1)                           \
    X(tDlgCreate, "__ObjWin", 8)                        \
    X(tDlgActivate, "__ActivateWin", 1)                 \
    X(tKillTimer, "__TimerDestroy", 1)                  \
    X(tAddTimer, "ADDTIMER", 2)                         \
    X(tSetTimerInt, "__SetTimerInt", 2)                 \
    X(tSmsSendMsg, "__SendSmsMsg", 5)                   \
    X(tSmsReadMsg, "__ReadSmsMsg", 0)                   \
    X(tSmsOpen, "__SmsOpen", 1)                         \
    X(tSmsClose, "__SmsClose", 0)                       \
    X(tActivateTimer, "ACTIVETIMER", 1)                 \
    X(tFonetizar, "__Fonetizar", 2)                     \
    X(tSetBatch, "SETBATCHOPER", 1)                     \
    X(tSetGeometry, "__SetGeometry", 1)                 \
    X(tShowSip, "__ShowSip", 1)                         \
    X(tGetPictSize, "__PictureSize", 1)                 \
    X(tGetLastFld, "__GetLastFldFocus", 0)              \
    X(tGetSerial, "GetSerial", 0)                       \
    X(tExecute, "__Execute", 1)                         \
    X(tStartServer, "__StartServer", 3)                 \
    X(tConnectConsole, "__ConnectConsole", 2)           \
    X(tSendConsole, "__SendConsole", 2)                 \
    X(tReadConsole, "__ReadConsole", 2)                 \
    X(tCheckProcess, "__CheckProcess", 1)               \
    X(tRegGetData, "__RegGetData", 3)                   \
    X(tRegSetData, "__RegSetData", 4)                   \
    X(tGetSDName, "__GetSDName", 0)                     \
    X(tIsTouch, "__IsTouch", 0)                         \
    X(tGetGeometry, "__GetGeometry", 0)                 \
    X(tRight, "__Right", 2)                             \
    X(tLeft, "__Left", 2)                               \
    X(tSuspendTimer, "DEACTIVETIMER", 1)                \
    X(tAddMenuBar, "__AddMenuBar", 3)                   \
    X(tAddMenuItem, "__AddMenuItem", 3)                 \
    X(tCloseDialog, "__CloseDialog", 0)                 \
    X(tSay, "__NewLabel", 10)                           \
    X(tGet, "__NewField", 19)                           \
    X(tButton, "__NewButtom", 14)                       \
    X(tListBox, "__NewList", 11)                        \
    X(tComboBox, "__NewComboBox", 10)                   \
    X(tNewFolder, "__NewFolder", 5)                     \
    X(tSetFolder, "__SetDefaultFolder", 2)              \
    X(tBox, "__Box", 8)                                 \
    X(tMsgAlert, "__MsgAlert", 2)                       \
    X(tMsgStop, "__MsgStop", 2)                         \
    X(tMsgYesOrNo, "__MsgYesNo", 2)                     \
    X(tValType, "__Type", 1)                            \
    X(tVal, "__Val", 1)                                 \
    X(tUpper, "__Upper", 1)                             \
    X(tLower, "__Lower", 1)                             \
    X(tEmpty, "__Empty", 1)                             \
    X(tMin, "__Min", 2)                                 \
    X(tMax, "__Max", 2)                                 \
    X(tAbs, "__Abs", 1)                                 \
    X(tCdow, "__CDow", 1)                               \
    X(tDow, "__Dow", 1)                                 \
    X(tCmonth, "__CMonth", 1)                           \
    X(tRound, "__Round", 2)                             \
    X(tShowControl, "ShowControl", 1)                   \
    X(tHideControl, "HideControl", 1)                   \
    X(tEnableControl, "EnableControl", 1)               \
    X(tDisableControl, "DisableControl", 1)             \
    X(tSetText, "SetText", 2)                           \
    X(tSetArray, "SetArray", 2)                         \
    X(tBrowse, "__CreateArrayBrowse", 9)                \
    X(tMeter, "__NewProgress", 9)                       \
    X(tSetMeter, "__StatusIncrement", 4)                \
    X(tSqrt, "__Sqrt", 1)                               \
    X(tKeyboard, "__KeyBoard", 2)                       \
    X(tSelectDate, "__SelectDay", 2)                    \
    X(tGetSignature, "__GetSignature", 1)               \
    X(tShowSignature, "__ShowSignature", 3)             \
    X(tDelSignature, "__DelSignature", 1)               \
    X(tValidCPF, "__ValidCPF", 1)                       \
    X(tValidCGC, "__ValidCGC", 1)                       \
    X(tGrid, "__NewGrid", 9)                            \
    X(tGridArray, "__GridArray", 2)                     \
    X(tGridColumn, "__GridColumn", 10)                  \
    X(tGridCellColor, "__GridSetCellColor", 5)          \
    X(tTransform, "__Transform", 2)                     \
    X(tMsgStatus, "__SetInfoWindow", 1)                 \
    X(tClearStatus, "__ClearInfoWindow", 0)             \
    X(tGridReset, "__GridReset", 1)                     \
    X(tGridRow, "__GridRow", 1)                         \
    X(tGridCol, "__GridCol", 1)                         \
    X(tGridSetRow, "__GridSetRow", 1)                   \
    X(tGridRows, "__GridRows", 1)                       \
    X(tGridLeft, "__GridLeft", 1)                       \
    X(tGridRight, "__GridRight", 1)                     \
    X(tListRows, "__ListRows", 1)                       \
    X(tSortArray, "__ASORT", 5)                         \
    X(tScanArray, "__AScan", 5)                         \
    X(tPROW, "__PROW", 0)                               \
    X(tASC, "__Asc", 1)                                 \
    X(tGetRTVer, "__GetRTVer", 0)                       \
    X(tPAD, "__Pad", 3)                                 \
    X(tPADR, "__PadR", 3)                               \
    X(tPADL, "__PadL", 3)                               \
    X(tREINDEX, "__Reindex", 1)                         \
    X(tGetObjPos, "GetCtrlPos", 1)                      \
    X(tGetObjSize, "GetCtrlSz", 1)                      \
    X(tGetObjValue, "__GetObjValue", 1)                 \
    X(tMoveControl, "MoveControl", 3)                   \
    X(tShowBitMap, "ShowBitMap", 2)                     \
    X(tSetListRow, "__SetListRow", 2)                   \
    X(tExistBlock, "ExistBlock", 1)                     \
    X(tExecBlock, "ExecBlock", 5)                       \
    X(tEval, "__Eval", 2)                               \
    X(tSetRasParams, "__SetRasParams", 1)               \
    X(tGetSetOnChange, "__GetOnChange", 2)              \
    X(tIsAlpha, "__IsAlpha", 1)                         \
    X(tIsDigit, "__IsDigit", 1)                         \
    X(tStrTran, "__StrTran", 5)                         \
    X(tFieldLen, "__FieldLen", 2)                       \
    X(tFieldDecLen, "__FieldDecLen", 2)                 \
    X(tFieldType, "__FieldType", 2)                     \
    X(tRegisterArray, "__RegisterArray", 1)             \
    X(tSetErrorLang, "__SetErrorLang", 1)               \
    X(tSetDirty, "SETDIRTY", 3)                         \
    X(tRestoreArray, "__RestoreArray", 1)               \
    X(tRegisterExit, "__RegisterExit", 1)               \
    X(tExecDumpArray, "ExecDumpArray", 2)               \
    X(tGetSpace, "GETSPACE", 2)                         \
    X(tNewBitMap, "NewBitMap", 9)                       \
    X(tResizeControl, "ResizeControl", 3)               \
    X(tCOL, "__PCOL", 0)                                \
    X(tPSetFont, "__PrintSetFont", 7)                   \
    X(tLoadPrint, "__LoadPrint", 8)                     \
    X(tUnLoadPrint, "__UnLoadPrint", 0)                 \
    X(tIsPrintOn, "__IsPrintOn", 0)                     \
    X(tPrintSay, "__PrintSay", 5)                       \
    X(tPrintSetFont, "__PrintSetFont", 7)               \
    X(tRAT, "__Rat", 2)                                 \
    X(tSetFocus, "__SetFocus", 1)                       \
    X(tConnectServer, "__ConnServer", 0)                \
    X(tDisconnectServer, "__DisConnServer", 1)          \
    X(tRPCGeneric, "__ExecRPCGen", 4)                   \
    X(tGetConnection, "__GetConnServer", 0)             \
    X(tSyncCfg, "__SyncCfg", 0)                         \
    X(tSyncLog, "__SyncLog", 0)                         \
    X(tSyncData, "__SyncData", 1)                       \
    X(tSyncDate, "__SyncDate", 0)                       \
    X(tRPCQuery, "__ExecRPCQuery", 3)                   \
    X(tRPCXml, "__ExecRPCXml", 2)                       \
    X(tRPCSelect, "__ExecRPCSelect", 3)                 \
    X(tRPCMarhold, "__ExecRPMarhold", 3)                \
    X(tVaskoMonitor, "__VaskoMonitor", 2)               \
    X(tVaskoMonitorExec, "__VaskoMonitorExec", 2)       \
    X(tVaskoMonitorDis, "__VaskoMonitorDis", 0)         \
    X(tDoSync, "__DoSync", 7)                           \
    X(tGetProfileCon, "__GetProfileCon", 1)             \
    X(tGetProfileNet, "__GetProfileNet", 1)             \
    X(tSetProfileNet, "__SetProfileNet", 2)             \
    X(tGetActiveProfileNet, "__GetActiveProfileNet", 1) \
    X(tAddProfileNet, "__AddProfileNet", 1)             \
    X(tAddProfileCon, "__AddProfileCon", 1)             \
    X(tSetInputStatus, "__SetInputStatus", 1)           \
    X(tSetTbStatus, "__SetTbStatus", 1)                 \
    X(tSetSipStatus, "__SetSipStatus", 1)               \
    X(tSetSipPos, "__SetSipPos", 1)                     \
    X(tInputBox, "__InputBox", 5)                       \
    X(tBeep, "__Beep", 1)                               \
    X(tGetPdaModel, "__GetPdaModel", 0)                 \
    X(tGetSyncVer, "__GetSyncVer", 0)                   \
    X(tCaptureCode, "__CaptureCode", 0)                 \
    X(tDoEncode, "__DoEncode", 1)                       \
    X(tDoDecode, "__DoDecode", 1)                       \
    X(tSetCheckBuffer, "__SetCheckBuffer", 1)           \
    X(tSetEncode, "__SetEncode", 1)                     \
    X(tGetLastZero, "__GetLastZero", 1)                 \
    X(tDBGrid, "__new_DBBrowser", 10)                   \
    X(tDBColumn, "__addcol_DBBrowser", 8)               \
    X(tDBSearch, "__set_DBBrowser_search", 2)           \
    X(tSetObjColor, "__SetObjColor", 5)                 \
    X(tUseScanner, "__UseScanner", 4)                   \
    X(tPrintCommand, "__PrintCommand", 1)               \
    X(tEzeltaTest, "__EzeltaTest", 0)                   \
    X(tCryptoData, "__CryptoData", 2)                   \
    X(tCameraCapture, "__CameraCapture", 1)             \
    X(tSendImage, "__SendImage", 1)

#define ZELTA_DB_BUILTINS(X)                \
    X(tDbEof, "__TBL_Eof", 0)               \
    X(tDbBof, "__TBL_Bof", 0)               \
    X(tDbAppend, "__DBAPPEND", 1)           \
    X(tDbGoTop, "__TBL_GoTop", 0)           \
    X(tDbGoBottom, "__TBL_GoBottom", 0)     \
    X(tDbSkip, "__TBL_Skip", 1)             \
    X(tRecCount, "__TBL_RecCount", 0)       \
    X(tRecno, "__TBL_RecNo", 0)             \
    X(tDbCloseArea, "__DB_CloseArea", 0)    \
    X(tDbGoto, "__TBL_GoTo", 1)             \
    X(tDbCreateIndex, "__DBCREATEINDEX", 3) \
    X(tDbSetIndex, "__UseIndex", 1)         \
    X(tDbClearIndex, "__ClearIndex", 0)     \
    X(tDbSetOrder, "__TBL_SetOrder", 1)     \
    X(tIndexOrd, "__IndexOrd", 0)           \
    X(tIndexKey, "__IndexKey", 1)           \
    X(tDbCommit, "__Commit", 0)             \
    X(tDbAlias, "__Alias", 0)               \
    X(tDbDelete, "__TBL_Delete", 0)         \
    X(tDbRecall, "__TBL_Recall", 0)         \
    X(tFound, "__TBL_Found", 0)             \
    X(tFCount, "__TBL_Fcount", 0)           \
    X(tDbStruct, "__DBStruct", 0)           \
    X(tDeleted, "__TBL_Deleted", 0)         \
    X(tDbPack, "__dbPack", 0)               \
    X(tDbZap, "__dbZap", 0)                 \
    X(tDbSeek, "__Seek", 2)                 \
    X(tFieldGet, "__GetFieldByID", 1)       \
    X(tFieldPut, "__SetField", 2)           \
    X(tFieldPos, "__GetFieldPos", 1)        \
    X(tIsDirty, "__IsDirty", 1)

// Variable arity: the arguments end with __INIT_NUL().
#define ZELTA_VARIANT_BUILTINS(X) X(tArrayF, "__Array", -1)
// ORDER BUILTIN_EXPORTS end

#define ZELTA_DECLARE_FIXED(cls, entry, arity)                                  \
    class cls : public tFixedCall {                                             \
    public:                                                                     \
        explicit cls(tInstruction* args = nullptr) : tFixedCall(args, arity) {} \
        void generate() override;                                               \
    };
#define ZELTA_DECLARE_DB(cls, entry, arity)                                  \
    class cls : public tDbOper {                                             \
    public:                                                                  \
        explicit cls(tInstruction* args = nullptr) : tDbOper(args, arity) {} \
        void generate() override;                                            \
    };
#define ZELTA_DECLARE_VARIANT(cls, entry, arity)                           \
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
};

// Every catalogue entry, fixed-arity ones first, then work-area operations,
// then variable arity, each in catalogue order.
extern const tBuiltinEntry kBuiltins[];
extern const int kBuiltinCount;
