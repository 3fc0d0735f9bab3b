// The built-in catalogue against a list kept here, so a typo in an entry
// point or an arity fails; then the three call shapes on their own.
#include <sstream>

#include "codegen_support.h"

using namespace cgtest;

namespace {

// class entry-point arity; fixed arity first, then the work-area operations.
const char* const kFixedList = R"(
    tTime __Time 0; tElapTime __ElapTime 2; tAlert __Alert 1; tAAdd __AAdd 2
    tAClone __AClone 1; tACopy __ACopy 5; tADel __ADel 1; tAFill __AFill 4
    tAIns __AIns 2; tASize __ASize 2; tASort __ASort 1; tLen __Len 1
    tAllTrim __AllTrim 1; tRTrim __RTrim 1; tLTrim __LTrim 1; tSpace __Space 1
    tReplicate __Replicate 2; tStr __Str 3; tSubStr __SubStr 3; tStrZero __StrZero 3
    tAt __At 2; tInt __Int 1; tChr __Chr 1; tDevOut __devout 0
    tCtod __Ctod 2; tDtoc __Dtoc 2; tDtos __Dtos 1; tDate __Date 0
    tDay __Day 1; tMonth __Month 1; tYear __Year 1; tSet __Set 2
    tSetCentury __SetCentury 1; tDbCreate __DBCREATE 3; tDbUseArea __DBUSEAREA 6; tFile __File 1
    tDbCloseAll __dbCloseAll 0; tDbCommitAll __CommitAll 0; tUsed __Used 0; tDbSelectArea __TBL_Select 1
    tSelect __Select 1; tFErase __FErase 1; tDlgCreate __ObjWin 8; tDlgActivate __ActivateWin 1
    tKillTimer __TimerDestroy 1; tAddTimer ADDTIMER 2; tSetTimerInt __SetTimerInt 2; tSmsSendMsg __SendSmsMsg 5
    tSmsReadMsg __ReadSmsMsg 0; tSmsOpen __SmsOpen 1; tSmsClose __SmsClose 0; tActivateTimer ACTIVETIMER 1
    tFonetizar __Fonetizar 2; tSetBatch SETBATCHOPER 1; tSetGeometry __SetGeometry 1; tShowSip __ShowSip 1
    tGetPictSize __PictureSize 1; tGetLastFld __GetLastFldFocus 0; tGetSerial GetSerial 0; tExecute __Execute 1
    tStartServer __StartServer 3; tConnectConsole __ConnectConsole 2; tSendConsole __SendConsole 2; tReadConsole __ReadConsole 2
    tCheckProcess __CheckProcess 1; tRegGetData __RegGetData 3; tRegSetData __RegSetData 4; tGetSDName __GetSDName 0
    tIsTouch __IsTouch 0; tGetGeometry __GetGeometry 0; tRight __Right 2; tLeft __Left 2
    tSuspendTimer DEACTIVETIMER 1; tAddMenuBar __AddMenuBar 3; tAddMenuItem __AddMenuItem 3; tCloseDialog __CloseDialog 0
    tSay __NewLabel 10; tGet __NewField 19; tButton __NewButtom 14; tListBox __NewList 11
    tComboBox __NewComboBox 10; tNewFolder __NewFolder 5; tSetFolder __SetDefaultFolder 2; tBox __Box 8
    tMsgAlert __MsgAlert 2; tMsgStop __MsgStop 2; tMsgYesOrNo __MsgYesNo 2; tValType __Type 1
    tVal __Val 1; tUpper __Upper 1; tLower __Lower 1; tEmpty __Empty 1
    tMin __Min 2; tMax __Max 2; tAbs __Abs 1; tCdow __CDow 1
    tDow __Dow 1; tCmonth __CMonth 1; tRound __Round 2; tShowControl ShowControl 1
    tHideControl HideControl 1; tEnableControl EnableControl 1; tDisableControl DisableControl 1; tSetText SetText 2
    tSetArray SetArray 2; tBrowse __CreateArrayBrowse 9; tMeter __NewProgress 9; tSetMeter __StatusIncrement 4
    tSqrt __Sqrt 1; tKeyboard __KeyBoard 2; tSelectDate __SelectDay 2; tGetSignature __GetSignature 1
    tShowSignature __ShowSignature 3; tDelSignature __DelSignature 1; tValidCPF __ValidCPF 1; tValidCGC __ValidCGC 1
    tGrid __NewGrid 9; tGridArray __GridArray 2; tGridColumn __GridColumn 10; tGridCellColor __GridSetCellColor 5
    tTransform __Transform 2; tMsgStatus __SetInfoWindow 1; tClearStatus __ClearInfoWindow 0; tGridReset __GridReset 1
    tGridRow __GridRow 1; tGridCol __GridCol 1; tGridSetRow __GridSetRow 1; tGridRows __GridRows 1
    tGridLeft __GridLeft 1; tGridRight __GridRight 1; tListRows __ListRows 1; tSortArray __ASORT 5
    tScanArray __AScan 5; tPROW __PROW 0; tASC __Asc 1; tGetRTVer __GetRTVer 0
    tPAD __Pad 3; tPADR __PadR 3; tPADL __PadL 3; tREINDEX __Reindex 1
    tGetObjPos GetCtrlPos 1; tGetObjSize GetCtrlSz 1; tGetObjValue __GetObjValue 1; tMoveControl MoveControl 3
    tShowBitMap ShowBitMap 2; tSetListRow __SetListRow 2; tExistBlock ExistBlock 1; tExecBlock ExecBlock 5
    tEval __Eval 2; tSetRasParams __SetRasParams 1; tGetSetOnChange __GetOnChange 2; tIsAlpha __IsAlpha 1
    tIsDigit __IsDigit 1; tStrTran __StrTran 5; tFieldLen __FieldLen 2; tFieldDecLen __FieldDecLen 2
    tFieldType __FieldType 2; tRegisterArray __RegisterArray 1; tSetErrorLang __SetErrorLang 1; tSetDirty SETDIRTY 3
    tRestoreArray __RestoreArray 1; tRegisterExit __RegisterExit 1; tExecDumpArray ExecDumpArray 2; tGetSpace GETSPACE 2
    tNewBitMap NewBitMap 9; tResizeControl ResizeControl 3; tCOL __PCOL 0; tPSetFont __PrintSetFont 7
    tLoadPrint __LoadPrint 8; tUnLoadPrint __UnLoadPrint 0; tIsPrintOn __IsPrintOn 0; tPrintSay __PrintSay 5
    tPrintSetFont __PrintSetFont 7; tRAT __Rat 2; tSetFocus __SetFocus 1; tConnectServer __ConnServer 0
    tDisconnectServer __DisConnServer 1; tRPCGeneric __ExecRPCGen 4; tGetConnection __GetConnServer 0; tSyncCfg __SyncCfg 0
    tSyncLog __SyncLog 0; tSyncData __SyncData 1; tSyncDate __SyncDate 0; tRPCQuery __ExecRPCQuery 3
    tRPCXml __ExecRPCXml 2; tRPCSelect __ExecRPCSelect 3; tRPCMarhold __ExecRPMarhold 3; tVaskoMonitor __VaskoMonitor 2
    tVaskoMonitorExec __VaskoMonitorExec 2; tVaskoMonitorDis __VaskoMonitorDis 0; tDoSync __DoSync 7; tGetProfileCon __GetProfileCon 1
    tGetProfileNet __GetProfileNet 1; tSetProfileNet __SetProfileNet 2; tGetActiveProfileNet __GetActiveProfileNet 1; tAddProfileNet __AddProfileNet 1
    tAddProfileCon __AddProfileCon 1; tSetInputStatus __SetInputStatus 1; tSetTbStatus __SetTbStatus 1; tSetSipStatus __SetSipStatus 1
    tSetSipPos __SetSipPos 1; tInputBox __InputBox 5; tBeep __Beep 1; tGetPdaModel __GetPdaModel 0
    tGetSyncVer __GetSyncVer 0; tCaptureCode __CaptureCode 0; tDoEncode __DoEncode 1; tDoDecode __DoDecode 1
    tSetCheckBuffer __SetCheckBuffer 1; tSetEncode __SetEncode 1; tGetLastZero __GetLastZero 1; tDBGrid __new_DBBrowser 10
    tDBColumn __addcol_DBBrowser 8; tDBSearch __set_DBBrowser_search 2; tSetObjColor __SetObjColor 5; tUseScanner __UseScanner 4
    tPrintCommand __PrintCommand 1; tEzeltaTest __EzeltaTest 0; tCryptoData __CryptoData 2; tCameraCapture __CameraCapture 1
    tSendImage __SendImage 1
)";

const char* const kWorkAreaList = R"(
    tDbEof __TBL_Eof 0; tDbBof __TBL_Bof 0; tDbAppend __DBAPPEND 1; tDbGoTop __TBL_GoTop 0
    tDbGoBottom __TBL_GoBottom 0; tDbSkip __TBL_Skip 1; tRecCount __TBL_RecCount 0; tRecno __TBL_RecNo 0
    tDbCloseArea __DB_CloseArea 0; tDbGoto __TBL_GoTo 1; tDbCreateIndex __DBCREATEINDEX 3; tDbSetIndex __UseIndex 1
    tDbClearIndex __ClearIndex 0; tDbSetOrder __TBL_SetOrder 1; tIndexOrd __IndexOrd 0; tIndexKey __IndexKey 1
    tDbCommit __Commit 0; tDbAlias __Alias 0; tDbDelete __TBL_Delete 0; tDbRecall __TBL_Recall 0
    tFound __TBL_Found 0; tFCount __TBL_Fcount 0; tDbStruct __DBStruct 0; tDeleted __TBL_Deleted 0
    tDbPack __dbPack 0; tDbZap __dbZap 0; tDbSeek __Seek 2; tFieldGet __GetFieldByID 1
    tFieldPut __SetField 2; tFieldPos __GetFieldPos 1; tIsDirty __IsDirty 1
)";

struct Expected {
    std::string className, entry;
    int arity;
};

std::vector<Expected> parse(const char* list)
{
    std::vector<Expected> out;
    std::string text(list);
    for (char& c : text)
        if (c == ';')
            c = '\n';
    std::istringstream lines(text);
    Expected e;
    while (lines >> e.className >> e.entry >> e.arity)
        out.push_back(e);
    return out;
}

TEST(CatalogueTest, EveryEntryPointAndArityMatchesTheList)
{
    std::vector<Expected> fixed = parse(kFixedList), workArea = parse(kWorkAreaList);
    ASSERT_EQ(fixed.size(), 221u);
    ASSERT_EQ(workArea.size(), 31u);
    ASSERT_EQ(kBuiltinCount, 221 + 31 + 1);
    for (int i = 0; i < kBuiltinCount; ++i) {
        const tBuiltinEntry& entry = kBuiltins[i];
        if (i < 221) {
            EXPECT_EQ(entry.shape, tCallShape::fixed) << entry.className;
            EXPECT_EQ(entry.className, fixed[i].className);
            EXPECT_EQ(entry.entryPoint, fixed[i].entry) << entry.className;
            EXPECT_EQ(entry.arity, fixed[i].arity) << entry.className;
        } else if (i < 252) {
            const Expected& e = workArea[i - 221];
            EXPECT_EQ(entry.shape, tCallShape::workArea) << entry.className;
            EXPECT_EQ(entry.className, e.className);
            EXPECT_EQ(entry.entryPoint, e.entry) << entry.className;
            EXPECT_EQ(entry.arity, e.arity) << entry.className;
        } else {
            EXPECT_STREQ(entry.className, "tArrayF");
            EXPECT_STREQ(entry.entryPoint, "__Array");
            EXPECT_EQ(entry.shape, tCallShape::variant);
        }
    }
}

using CatalogueNodeTest = CodegenTest;

// Every class writes its own entry point, and with no arguments pads to its arity.
TEST_F(CatalogueNodeTest, EveryClassWritesItsEntryPoint)
{
    int checked = 0;
    auto expect = [&](tInstruction* node, const tBuiltinEntry& entry) {
        std::string expected = std::string(entry.entryPoint) + "(";
        if (entry.shape == tCallShape::workArea)
            expected += entry.arity > 0 ? "__INIT_NUL()," : "__INIT_NUL()";
        for (int i = 0; i < entry.arity; ++i)
            expected += i ? ",NULL" : "NULL";
        if (entry.shape == tCallShape::variant)
            expected += "__INIT_NUL()";
        expected += ")";
        EXPECT_EQ(text(node), expected) << entry.className;
        ++checked;
    };
    int index = 0;
#define CHECK_CLASS(cls, entry, arity, folder) expect(new cls(), kBuiltins[index++]);
    ZELTA_FIXED_BUILTINS(CHECK_CLASS)
    ZELTA_DB_BUILTINS(CHECK_CLASS)
    ZELTA_VARIANT_BUILTINS(CHECK_CLASS)
#undef CHECK_CLASS
    EXPECT_EQ(checked, kBuiltinCount);
}

TEST_F(CatalogueNodeTest, CallShapes)
{
    struct {
        tInstruction* node;
        const char* expected;
    } cases[] = {
        {new tLen(id("x")), "__Len(X)"},
        {new tSubStr(args({id("x"), num("2")})), "__SubStr(X, __const_get_el(0),NULL)"},
        {new tSubStr(args({new tParmNull()})), "__SubStr(NULL,NULL,NULL)"},
        {new tLeft(args({id("a"), id("b"), id("c")})), "__Left(A, B, C)"},
        {new tDate(), "__Date()"},
        {new tDevOut(args({id("x"), id("y")})), "__devout()"},
        {new tArrayF(args({num("1"), num("2")})), "__Array(__const_get_el(1), __const_get_el(0),__INIT_NUL())"},
        {new tArrayF(), "__Array(__INIT_NUL())"},
        {new tDbSkip(), "__TBL_Skip(__INIT_NUL(),NULL)"},
        {new tDbSkip(args({new tParmNull()})), "__TBL_Skip(__INIT_NUL(),NULL)"},
        {new tDbSkip(args({num("2")})), "__TBL_Skip(__INIT_NUL(),__const_get_el(0))"},
        {new tDbSeek(args({id("k")})), "__Seek(__INIT_NUL(),K,NULL)"},
        {new tDbGoTop(args({id("k")})), "__TBL_GoTop(__INIT_NUL())"},
        {new tAlias(id("cli"), new tDbEof(args({new tParmNull()}))), "__TBL_Eof(__const_get_el(2))"},
        {new tAlias(id("Cli"), new tDbSeek(args({id("k"), id("s")}))), "__Seek(__const_get_el(2),K, S)"},
        {new tAlias(id("ped"), new tDbCreateIndex()), "__DBCREATEINDEX(__const_get_el(3),NULL,NULL,NULL)"},
        {new tFieldPut(args({num("1"), id("v")})), "__SetField(__INIT_NUL(),__const_get_el(1), V)"},
    };
    for (auto& c : cases)
        EXPECT_EQ(text(c.node), c.expected);
    EXPECT_STREQ(program.constants.entries()[2]->text, "CLI");
    EXPECT_EQ(program.constants.count(), 4);
}

TEST_F(CatalogueNodeTest, FixedCallCountsItsArityAndCollectsItsArguments)
{
    std::unique_ptr<tInstruction> call(new tSubStr(args({id("s"), id("n")})));
    EXPECT_EQ(call->argCount(0), 3);
    ASSERT_NE(call->inner(), nullptr);
    call->collectBlockVars(1);
    EXPECT_EQ(program.blockVars.count(), 2);
    freeStrings(program.blockVars);
}

}  // namespace
