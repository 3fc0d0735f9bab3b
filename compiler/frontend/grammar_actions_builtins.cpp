// Grammar actions, productions 231 to 488: the built-in function family.
// Every one is functionCall -> keyword ( parmList ) (or ( mainExpression ))
// and builds its catalogue class over the arguments, $3; foreign calls and
// exports (calldll, expfunct) build theirs from ../ast/foreign.h.
#include "grammar_actions.h"

#include "../ast/builtins.h"
#include "../ast/foreign.h"

SSYaccStackElement* OrvicYaccClass::builtinAction(uint32_t production)
{
    switch (production) {
    case 231:  // functionCall -> alert ( mainExpression )
        return nodeElement(new tAlert(take(3)));
    case 232:  // functionCall -> aadd ( parmList )
        return nodeElement(new tAAdd(take(3)));
    case 233:  // functionCall -> aclone ( parmList )
        return nodeElement(new tAClone(take(3)));
    case 234:  // functionCall -> acopy ( parmList )
        return nodeElement(new tACopy(take(3)));
    case 235:  // functionCall -> adel ( parmList )
        return nodeElement(new tADel(take(3)));
    case 236:  // functionCall -> afill ( parmList )
        return nodeElement(new tAFill(take(3)));
    case 237:  // functionCall -> ains ( parmList )
        return nodeElement(new tAIns(take(3)));
    case 238:  // functionCall -> array ( parmList )
        return nodeElement(new tArrayF(take(3)));
    case 239:  // functionCall -> asc ( parmList )
        return nodeElement(new tASC(take(3)));
    case 240:  // functionCall -> asize ( parmList )
        return nodeElement(new tASize(take(3)));
    case 241:  // functionCall -> asort ( parmList )
        return nodeElement(new tASort(take(3)));
    case 242:  // functionCall -> aeval ( parmList )
        return printElement("functionCall -> aeval ( parmList )\n");
    case 243:  // functionCall -> abs ( parmList )
        return nodeElement(new tAbs(take(3)));
    case 244:  // functionCall -> at ( parmList )
        return nodeElement(new tAt(take(3)));
    case 245:  // functionCall -> rat ( parmList )
        return nodeElement(new tRAT(take(3)));
    case 246:  // functionCall -> cdow ( parmList )
        return nodeElement(new tCdow(take(3)));
    case 247:  // functionCall -> dow ( parmList )
        return nodeElement(new tDow(take(3)));
    case 248:  // functionCall -> cmonth ( parmList )
        return nodeElement(new tCmonth(take(3)));
    case 249:  // functionCall -> ctod ( mainExpression )
        return nodeElement(new tCtod(take(3)));
    case 250:  // functionCall -> dtoc ( mainExpression )
        return nodeElement(new tDtoc(take(3)));
    case 251:  // functionCall -> dtos ( mainExpression )
        return nodeElement(new tDtos(take(3)));
    case 252:  // functionCall -> str ( parmList )
        return nodeElement(new tStr(take(3)));
    case 253:  // functionCall -> substr ( parmList )
        return nodeElement(new tSubStr(take(3)));
    case 254:  // functionCall -> devout ( mainExpression )
        return nodeElement(new tDevOut(take(3)));
    case 255:  // functionCall -> set ( parmList )
        return nodeElement(new tSet(take(3)));
    case 256:  // functionCall -> setcentury ( parmList )
        return nodeElement(new tSetCentury(take(3)));
    case 257:  // functionCall -> time ( parmList )
        return nodeElement(new tTime(take(3)));
    case 258:  // functionCall -> elaptime ( parmList )
        return nodeElement(new tElapTime(take(3)));
    case 259:  // functionCall -> date ( parmList )
        return nodeElement(new tDate(take(3)));
    case 260:  // functionCall -> dbcreate ( parmList )
        return nodeElement(new tDbCreate(take(3)));
    case 261:  // functionCall -> dbusearea ( parmList )
        return nodeElement(new tDbUseArea(take(3)));
    case 262:  // functionCall -> dbappend ( parmList )
        return nodeElement(new tDbAppend(take(3)));
    case 263:  // functionCall -> dbgotop ( parmList )
        return nodeElement(new tDbGoTop(take(3)));
    case 264:  // functionCall -> dbgobottom ( parmList )
        return nodeElement(new tDbGoBottom(take(3)));
    case 265:  // functionCall -> dbskip ( parmList )
        return nodeElement(new tDbSkip(take(3)));
    case 266:  // functionCall -> eof ( parmList )
        return nodeElement(new tDbEof(take(3)));
    case 267:  // functionCall -> bof ( parmList )
        return nodeElement(new tDbBof(take(3)));
    case 268:  // functionCall -> file ( parmList )
        return nodeElement(new tFile(take(3)));
    case 269:  // functionCall -> lastrec ( parmList )
        return nodeElement(new tRecCount(take(3)));
    case 270:  // functionCall -> reccount ( parmList )
        return nodeElement(new tRecCount(take(3)));
    case 271:  // functionCall -> recno ( parmList )
        return nodeElement(new tRecno(take(3)));
    case 272:  // functionCall -> dbcloseall ( parmList )
        return nodeElement(new tDbCloseAll(take(3)));
    case 273:  // functionCall -> dbclosearea ( parmList )
        return nodeElement(new tDbCloseArea(take(3)));
    case 274:  // functionCall -> dbgoto ( parmList )
        return nodeElement(new tDbGoto(take(3)));
    case 275:  // functionCall -> dbselectarea ( mainExpression )
        return nodeElement(new tDbSelectArea(take(3)));
    case 276:  // functionCall -> dbcreateindex ( parmList )
        return nodeElement(new tDbCreateIndex(take(3)));
    case 277:  // functionCall -> dbsetindex ( parmList )
        return nodeElement(new tDbSetIndex(take(3)));
    case 278:  // functionCall -> dbsetorder ( parmList )
        return nodeElement(new tDbSetOrder(take(3)));
    case 279:  // functionCall -> dbseek ( parmList )
        return nodeElement(new tDbSeek(take(3)));
    case 280:  // functionCall -> ferase ( mainExpression )
        return nodeElement(new tFErase(take(3)));
    case 281:  // functionCall -> dlgcreate ( parmList )
        return nodeElement(new tDlgCreate(take(3)));
    case 282:  // functionCall -> dlgactivate ( parmList )
        return nodeElement(new tDlgActivate(take(3)));
    case 283:  // functionCall -> addmenubar ( parmList )
        return nodeElement(new tAddMenuBar(take(3)));
    case 284:  // functionCall -> addmenuitem ( parmList )
        return nodeElement(new tAddMenuItem(take(3)));
    case 285:  // functionCall -> setvldparam ( parmList )
        return nodeElement(new tSetVldParam(take(3)));
    case 286:  // functionCall -> closedialog ( parmList )
        return nodeElement(new tCloseDialog(take(3)));
    case 287:  // functionCall -> say ( parmList )
        return nodeElement(new tSay(take(3)));
    case 288:  // functionCall -> get ( parmList )
        return nodeElement(new tGet(take(3)));
    case 289:  // functionCall -> button ( parmList )
        return nodeElement(new tButton(take(3)));
    case 290:  // functionCall -> checkbox ( parmList )
        return nodeElement(new tButton(take(3)));
    case 291:  // functionCall -> listbos ( parmList )
        return nodeElement(new tListBox(take(3)));
    case 292:  // functionCall -> combobox ( parmList )
        return nodeElement(new tComboBox(take(3)));
    case 293:  // functionCall -> dbclearindex ( parmList )
        return nodeElement(new tDbClearIndex(take(3)));
    case 294:  // functionCall -> indexord ( parmList )
        return nodeElement(new tIndexOrd(take(3)));
    case 295:  // functionCall -> dbcommit ( parmList )
        return nodeElement(new tDbCommit(take(3)));
    case 296:  // functionCall -> dbcommitall ( parmList )
        return nodeElement(new tDbCommitAll(take(3)));
    case 297:  // functionCall -> indexkey ( parmList )
        return nodeElement(new tIndexKey(take(3)));
    case 298:  // functionCall -> alias ( parmList )
        return nodeElement(new tDbAlias(take(3)));
    case 299:  // functionCall -> used ( parmList )
        return nodeElement(new tUsed(take(3)));
    case 300:  // functionCall -> dbdelete ( parmList )
        return nodeElement(new tDbDelete(take(3)));
    case 301:  // functionCall -> deleted ( parmList )
        return nodeElement(new tDeleted(take(3)));
    case 302:  // functionCall -> dbstruct ( parmList )
        return nodeElement(new tDbStruct(take(3)));
    case 303:  // functionCall -> dbrecall ( parmList )
        return nodeElement(new tDbRecall(take(3)));
    case 304:  // functionCall -> select ( parmList )
        return nodeElement(new tSelect(take(3)));
    case 305:  // functionCall -> dbpack ( parmList )
        return nodeElement(new tDbPack(take(3)));
    case 306:  // functionCall -> dbzap ( parmList )
        return nodeElement(new tDbZap(take(3)));
    case 307:  // functionCall -> newfolder ( parmList )
        return nodeElement(new tNewFolder(take(3)));
    case 308:  // functionCall -> setfolder ( parmList )
        return nodeElement(new tSetFolder(take(3)));
    case 309:  // functionCall -> box ( parmList )
        return nodeElement(new tBox(take(3)));
    case 310:  // functionCall -> msgalert ( parmList )
        return nodeElement(new tMsgAlert(take(3)));
    case 311:  // functionCall -> msgstop ( parmList )
        return nodeElement(new tMsgStop(take(3)));
    case 312:  // functionCall -> msgyesorno ( parmList )
        return nodeElement(new tMsgYesOrNo(take(3)));
    case 313:  // functionCall -> strzero ( parmList )
        return nodeElement(new tStrZero(take(3)));
    case 314:  // functionCall -> found ( parmList )
        return nodeElement(new tFound(take(3)));
    case 315:  // functionCall -> year ( parmList )
        return nodeElement(new tYear(take(3)));
    case 316:  // functionCall -> month ( parmList )
        return nodeElement(new tMonth(take(3)));
    case 317:  // functionCall -> int ( parmList )
        return nodeElement(new tInt(take(3)));
    case 318:  // functionCall -> day ( parmList )
        return nodeElement(new tDay(take(3)));
    case 319:  // functionCall -> chr ( parmList )
        return nodeElement(new tChr(take(3)));
    case 320:  // functionCall -> fcount ( parmList )
        return nodeElement(new tFCount(take(3)));
    case 321:  // functionCall -> space ( parmList )
        return nodeElement(new tSpace(take(3)));
    case 322:  // functionCall -> valtype ( parmList )
        return nodeElement(new tValType(take(3)));
    case 323:  // functionCall -> type ( parmList )
        return nodeElement(new tValType(take(3)));
    case 324:  // functionCall -> lower ( parmList )
        return nodeElement(new tLower(take(3)));
    case 325:  // functionCall -> upper ( parmList )
        return nodeElement(new tUpper(take(3)));
    case 326:  // functionCall -> empty ( parmList )
        return nodeElement(new tEmpty(take(3)));
    case 327:  // functionCall -> max ( parmList )
        return nodeElement(new tMax(take(3)));
    case 328:  // functionCall -> min ( parmList )
        return nodeElement(new tMin(take(3)));
    case 329:  // functionCall -> replicate ( parmList )
        return nodeElement(new tReplicate(take(3)));
    case 330:  // functionCall -> round ( parmList )
        return nodeElement(new tRound(take(3)));
    case 331:  // functionCall -> rtrim ( parmList )
        return nodeElement(new tRTrim(take(3)));
    case 332:  // functionCall -> ltrim ( parmList )
        return nodeElement(new tLTrim(take(3)));
    case 333:  // functionCall -> alltrim ( parmList )
        return nodeElement(new tAllTrim(take(3)));
    case 334:  // functionCall -> showcontrol ( parmList )
        return nodeElement(new tShowControl(take(3)));
    case 335:  // functionCall -> hidecontrol ( parmList )
        return nodeElement(new tHideControl(take(3)));
    case 336:  // functionCall -> enablecontrol ( parmList )
        return nodeElement(new tEnableControl(take(3)));
    case 337:  // functionCall -> disablecontrol ( parmList )
        return nodeElement(new tDisableControl(take(3)));
    case 338:  // functionCall -> settext ( parmList )
        return nodeElement(new tSetText(take(3)));
    case 339:  // functionCall -> setarray ( parmList )
        return nodeElement(new tSetArray(take(3)));
    case 340:  // functionCall -> fieldget ( parmList )
        return nodeElement(new tFieldGet(take(3)));
    case 341:  // functionCall -> fieldput ( parmList )
        return nodeElement(new tFieldPut(take(3)));
    case 342:  // functionCall -> fieldpos ( parmList )
        return nodeElement(new tFieldPos(take(3)));
    case 343:  // functionCall -> browse ( parmList )
        return nodeElement(new tBrowse(take(3)));
    case 344:  // functionCall -> meter ( parmList )
        return nodeElement(new tMeter(take(3)));
    case 345:  // functionCall -> setmeter ( parmList )
        return nodeElement(new tSetMeter(take(3)));
    case 346:  // functionCall -> sqrt ( parmList )
        return nodeElement(new tSqrt(take(3)));
    case 347:  // functionCall -> keyboard ( parmList )
        return nodeElement(new tKeyboard(take(3)));
    case 348:  // functionCall -> selectdate ( parmList )
        return nodeElement(new tSelectDate(take(3)));
    case 349:  // functionCall -> getsignature ( parmList )
        return nodeElement(new tGetSignature(take(3)));
    case 350:  // functionCall -> showsignature ( parmList )
        return nodeElement(new tShowSignature(take(3)));
    case 351:  // functionCall -> delsignature ( parmList )
        return nodeElement(new tDelSignature(take(3)));
    case 352:  // functionCall -> validcpf ( parmList )
        return nodeElement(new tValidCPF(take(3)));
    case 353:  // functionCall -> validcgc ( parmList )
        return nodeElement(new tValidCGC(take(3)));
    case 354:  // functionCall -> grid ( parmList )
        return nodeElement(new tGrid(take(3)));
    case 355:  // functionCall -> gridarray ( parmList )
        return nodeElement(new tGridArray(take(3)));
    case 356:  // functionCall -> gridcolumn ( parmList )
        return nodeElement(new tGridColumn(take(3)));
    case 357:  // functionCall -> gridreset ( parmList )
        return nodeElement(new tGridReset(take(3)));
    case 358:  // functionCall -> gridsetrow ( parmList )
        return nodeElement(new tGridSetRow(take(3)));
    case 359:  // functionCall -> gridrow ( parmList )
        return nodeElement(new tGridRow(take(3)));
    case 360:  // functionCall -> gricol ( parmList )
        return nodeElement(new tGridCol(take(3)));
    case 361:  // functionCall -> gridrows ( parmList )
        return nodeElement(new tGridRows(take(3)));
    case 362:  // functionCall -> gridleft ( parmList )
        return nodeElement(new tGridLeft(take(3)));
    case 363:  // functionCall -> gridright ( parmList )
        return nodeElement(new tGridRight(take(3)));
    case 364:  // functionCall -> gridcellcolor ( parmList )
        return nodeElement(new tGridCellColor(take(3)));
    case 365:  // functionCall -> transform ( parmList )
        return nodeElement(new tTransform(take(3)));
    case 366:  // functionCall -> msgstatus ( parmList )
        return nodeElement(new tMsgStatus(take(3)));
    case 367:  // functionCall -> clearstatus ( parmList )
        return nodeElement(new tClearStatus(take(3)));
    case 368:  // functionCall -> getlistrows ( parmList )
        return nodeElement(new tListRows(take(3)));
    case 369:  // functionCall -> isdirty ( parmList )
        return nodeElement(new tIsDirty(take(3)));
    case 370:  // functionCall -> setdiry ( parmList )
        return nodeElement(new tSetDirty(take(3)));
    case 371:  // functionCall -> sortarray ( parmList )
        return nodeElement(new tSortArray(take(3)));
    case 372:  // functionCall -> scanarray ( parmList )
        return nodeElement(new tScanArray(take(3)));
    case 373:  // functionCall -> prow ( parmList )
        return nodeElement(new tPROW(take(3)));
    case 374:  // functionCall -> pcol ( parmList )
        return nodeElement(new tCOL(take(3)));
    case 375:  // functionCall -> setpfont ( parmList )
        return nodeElement(new tPSetFont(take(3)));
    case 376:  // functionCall -> loadprint ( parmList )
        return nodeElement(new tLoadPrint(take(3)));
    case 377:  // functionCall -> unloadprint ( parmList )
        return nodeElement(new tUnLoadPrint(take(3)));
    case 378:  // functionCall -> isprinton ( parmList )
        return nodeElement(new tIsPrintOn(take(3)));
    case 379:  // functionCall -> printsay ( parmList )
        return nodeElement(new tPrintSay(take(3)));
    case 380:  // functionCall -> printsetfont ( parmList )
        return nodeElement(new tPrintSetFont(take(3)));
    case 381:  // functionCall -> setfocus ( parmList )
        return nodeElement(new tSetFocus(take(3)));
    case 382:  // functionCall -> connecteserver ( parmList )
        return nodeElement(new tConnectServer(take(3)));
    case 383:  // functionCall -> disconnecteserver ( parmList )
        return nodeElement(new tDisconnectServer(take(3)));
    case 384:  // functionCall -> rpcgeneric ( parmList )
        return nodeElement(new tRPCGeneric(take(3)));
    case 385:  // functionCall -> rpcmarhold ( parmList )
        return nodeElement(new tRPCMarhold(take(3)));
    case 386:  // functionCall -> dosync ( parmList )
        return nodeElement(new tDoSync(take(3)));
    case 387:  // functionCall -> dbgrid ( parmList )
        return nodeElement(new tDBGrid(take(3)));
    case 388:  // functionCall -> dbcolumn ( parmList )
        return nodeElement(new tDBColumn(take(3)));
    case 389:  // functionCall -> dbgridsearch ( parmList )
        return nodeElement(new tDBSearch(take(3)));
    case 390:  // functionCall -> getsetonchange ( parmList )
        return nodeElement(new tGetSetOnChange(take(3)));
    case 391:  // functionCall -> setobjcolor ( parmList )
        return nodeElement(new tSetObjColor(take(3)));
    case 392:  // functionCall -> expfunct ( parmList )
        return nodeElement(new tExpFunct(take(3)));
    case 393:  // functionCall -> calldll ( parmList )
        return nodeElement(new tDllCall(take(3)));
    case 394:  // functionCall -> pad ( parmList )
        return nodeElement(new tPAD(take(3)));
    case 395:  // functionCall -> padr ( parmList )
        return nodeElement(new tPADR(take(3)));
    case 396:  // functionCall -> padl ( parmList )
        return nodeElement(new tPADL(take(3)));
    case 397:  // functionCall -> reindex ( parmList )
        return nodeElement(new tREINDEX(take(3)));
    case 398:  // functionCall -> movecontrol ( parmList )
        return nodeElement(new tMoveControl(take(3)));
    case 399:  // functionCall -> resizecontrol ( parmList )
        return nodeElement(new tResizeControl(take(3)));
    case 400:  // functionCall -> getobjpos ( parmList )
        return nodeElement(new tGetObjPos(take(3)));
    case 401:  // functionCall -> getobjsize ( parmList )
        return nodeElement(new tGetObjSize(take(3)));
    case 402:  // functionCall -> newbitmap ( parmList )
        return nodeElement(new tNewBitMap(take(3)));
    case 403:  // functionCall -> showbitmap ( parmList )
        return nodeElement(new tShowBitMap(take(3)));
    case 404:  // functionCall -> setlistrow ( parmList )
        return nodeElement(new tSetListRow(take(3)));
    case 405:  // functionCall -> existblock ( parmList )
        return nodeElement(new tExistBlock(take(3)));
    case 406:  // functionCall -> execblock ( parmList )
        return nodeElement(new tExecBlock(take(3)));
    case 407:  // functionCall -> eval ( parmList )
        return nodeElement(new tEval(take(3)));
    case 408:  // functionCall -> setrasparams ( parmList )
        return nodeElement(new tSetRasParams(take(3)));
    case 409:  // functionCall -> getrtver ( parmList )
        return nodeElement(new tGetRTVer(take(3)));
    case 410:  // functionCall -> registerarray ( parmList )
        return nodeElement(new tRegisterArray(take(3)));
    case 411:  // functionCall -> restorearray ( parmList )
        return nodeElement(new tRestoreArray(take(3)));
    case 412:  // functionCall -> registerexit ( parmList )
        return nodeElement(new tRegisterExit(take(3)));
    case 413:  // functionCall -> getspace ( parmList )
        return nodeElement(new tGetSpace(take(3)));
    case 414:  // functionCall -> execdumparray ( parmList )
        return nodeElement(new tExecDumpArray(take(3)));
    case 415:  // functionCall -> isalpha ( parmList )
        return nodeElement(new tIsAlpha(take(3)));
    case 416:  // functionCall -> isdigit ( parmList )
        return nodeElement(new tIsDigit(take(3)));
    case 417:  // functionCall -> strtran ( parmList )
        return nodeElement(new tStrTran(take(3)));
    case 418:  // functionCall -> fieldlen ( parmList )
        return nodeElement(new tFieldLen(take(3)));
    case 419:  // functionCall -> fielddeclen ( parmList )
        return nodeElement(new tFieldDecLen(take(3)));
    case 420:  // functionCall -> fieldtype ( parmList )
        return nodeElement(new tFieldType(take(3)));
    case 421:  // functionCall -> rpcquery ( parmList )
        return nodeElement(new tRPCQuery(take(3)));
    case 422:  // functionCall -> rpcxml ( parmList )
        return nodeElement(new tRPCXml(take(3)));
    case 423:  // functionCall -> rpcselect ( parmList )
        return nodeElement(new tRPCSelect(take(3)));
    case 424:  // functionCall -> getconnection ( parmList )
        return nodeElement(new tGetConnection(take(3)));
    case 425:  // functionCall -> synccfg ( parmList )
        return nodeElement(new tSyncCfg(take(3)));
    case 426:  // functionCall -> synclog ( parmList )
        return nodeElement(new tSyncLog(take(3)));
    case 427:  // functionCall -> syncdata ( parmList )
        return nodeElement(new tSyncData(take(3)));
    case 428:  // functionCall -> syncdate ( parmList )
        return nodeElement(new tSyncDate(take(3)));
    case 429:  // functionCall -> addtimer ( parmList )
        return nodeElement(new tAddTimer(take(3)));
    case 430:  // functionCall -> killtimer ( parmList )
        return nodeElement(new tKillTimer(take(3)));
    case 431:  // functionCall -> activatetimer ( parmList )
        return nodeElement(new tActivateTimer(take(3)));
    case 432:  // functionCall -> suspendtimer ( parmList )
        return nodeElement(new tSuspendTimer(take(3)));
    case 433:  // functionCall -> fonetizar ( parmList )
        return nodeElement(new tFonetizar(take(3)));
    case 434:  // functionCall -> right ( parmList )
        return nodeElement(new tRight(take(3)));
    case 435:  // functionCall -> left ( parmList )
        return nodeElement(new tLeft(take(3)));
    case 436:  // functionCall -> setbatch ( parmList )
        return nodeElement(new tSetBatch(take(3)));
    case 437:  // functionCall -> setgeometry ( parmList )
        return nodeElement(new tSetGeometry(take(3)));
    case 438:  // functionCall -> getgeometry ( parmList )
        return nodeElement(new tGetGeometry(take(3)));
    case 439:  // functionCall -> showsip ( parmList )
        return nodeElement(new tShowSip(take(3)));
    case 440:  // functionCall -> getpictsize ( parmList )
        return nodeElement(new tGetPictSize(take(3)));
    case 441:  // functionCall -> getlastfld ( parmList )
        return nodeElement(new tGetLastFld(take(3)));
    case 442:  // functionCall -> getserial ( parmList )
        return nodeElement(new tGetSerial(take(3)));
    case 443:  // functionCall -> startserver ( parmList )
        return nodeElement(new tStartServer(take(3)));
    case 444:  // functionCall -> connectconsole ( parmList )
        return nodeElement(new tConnectConsole(take(3)));
    case 445:  // functionCall -> sendconsole ( parmList )
        return nodeElement(new tSendConsole(take(3)));
    case 446:  // functionCall -> readconsole ( parmList )
        return nodeElement(new tReadConsole(take(3)));
    case 447:  // functionCall -> checkprocess ( parmList )
        return nodeElement(new tCheckProcess(take(3)));
    case 448:  // functionCall -> reggetdata ( parmList )
        return nodeElement(new tRegGetData(take(3)));
    case 449:  // functionCall -> regsetdata ( parmList )
        return nodeElement(new tRegSetData(take(3)));
    case 450:  // functionCall -> getsdname ( parmList )
        return nodeElement(new tGetSDName(take(3)));
    case 451:  // functionCall -> istouch ( parmList )
        return nodeElement(new tIsTouch(take(3)));
    case 452:  // functionCall -> execute ( parmList )
        return nodeElement(new tExecute(take(3)));
    case 453:  // functionCall -> getprofilecon ( parmList )
        return nodeElement(new tGetProfileCon(take(3)));
    case 454:  // functionCall -> getprofilenet ( parmList )
        return nodeElement(new tGetProfileNet(take(3)));
    case 455:  // functionCall -> setprofilenet ( parmList )
        return nodeElement(new tSetProfileNet(take(3)));
    case 456:  // functionCall -> getactiveprofilenet ( parmList )
        return nodeElement(new tGetActiveProfileNet(take(3)));
    case 457:  // functionCall -> addprofilenet ( parmList )
        return nodeElement(new tAddProfileNet(take(3)));
    case 458:  // functionCall -> addprofilecon ( parmList )
        return nodeElement(new tAddProfileCon(take(3)));
    case 459:  // functionCall -> setinputstatus ( parmList )
        return nodeElement(new tSetInputStatus(take(3)));
    case 460:  // functionCall -> settbstatus ( parmList )
        return nodeElement(new tSetTbStatus(take(3)));
    case 461:  // functionCall -> setsipstatus ( parmList )
        return nodeElement(new tSetSipStatus(take(3)));
    case 462:  // functionCall -> setsippos ( parmList )
        return nodeElement(new tSetSipPos(take(3)));
    case 463:  // functionCall -> doencode ( parmList )
        return nodeElement(new tDoEncode(take(3)));
    case 464:  // functionCall -> dodecode ( parmList )
        return nodeElement(new tDoDecode(take(3)));
    case 465:  // functionCall -> setcheckbuffer ( parmList )
        return nodeElement(new tSetCheckBuffer(take(3)));
    case 466:  // functionCall -> setencode ( parmList )
        return nodeElement(new tSetEncode(take(3)));
    case 467:  // functionCall -> getlastzero ( parmList )
        return nodeElement(new tGetLastZero(take(3)));
    case 468:  // functionCall -> beep ( parmList )
        return nodeElement(new tBeep(take(3)));
    case 469:  // functionCall -> getpdamodel ( parmList )
        return nodeElement(new tGetPdaModel(take(3)));
    case 470:  // functionCall -> getsyncver ( parmList )
        return nodeElement(new tGetSyncVer(take(3)));
    case 471:  // functionCall -> capturecode ( parmList )
        return nodeElement(new tCaptureCode(take(3)));
    case 472:  // functionCall -> settimerint ( parmList )
        return nodeElement(new tSetTimerInt(take(3)));
    case 473:  // functionCall -> smssendmsg ( parmList )
        return nodeElement(new tSmsSendMsg(take(3)));
    case 474:  // functionCall -> smsreadmsg ( parmList )
        return nodeElement(new tSmsReadMsg(take(3)));
    case 475:  // functionCall -> smsopen ( parmList )
        return nodeElement(new tSmsOpen(take(3)));
    case 476:  // functionCall -> smsclose ( parmList )
        return nodeElement(new tSmsClose(take(3)));
    case 477:  // functionCall -> seterrorlang ( parmList )
        return nodeElement(new tSetErrorLang(take(3)));
    case 478:  // functionCall -> vaskomonitor ( parmList )
        return nodeElement(new tVaskoMonitor(take(3)));
    case 479:  // functionCall -> vaskomonitorexec ( parmList )
        return nodeElement(new tVaskoMonitorExec(take(3)));
    case 480:  // functionCall -> vaskomonitordis ( parmList )
        return nodeElement(new tVaskoMonitorDis(take(3)));
    case 481:  // functionCall -> inputbox ( parmList )
        return nodeElement(new tInputBox(take(3)));
    case 482:  // functionCall -> getobjvalue ( parmList )
        return nodeElement(new tGetObjValue(take(3)));
    case 483:  // functionCall -> usescanner ( parmList )
        return nodeElement(new tUseScanner(take(3)));
    case 484:  // functionCall -> printcommand ( parmList )
        return nodeElement(new tPrintCommand(take(3)));
    case 485:  // functionCall -> ezeltatest ( parmList )
        return nodeElement(new tEzeltaTest(take(3)));
    case 486:  // functionCall -> cryptodata ( parmList )
        return nodeElement(new tCryptoData(take(3)));
    case 487:  // functionCall -> cameracapture ( parmList )
        return nodeElement(new tCameraCapture(take(3)));
    case 488:  // functionCall -> sendimage ( parmList )
        return nodeElement(new tSendImage(take(3)));
    }
    return emptyElement();
}
