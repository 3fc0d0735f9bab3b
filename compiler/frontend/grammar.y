/* The Zelta grammar. Productions are numbered in the order they appear here:
   production 0 is the augmented start (start -> program eof), then 1 to 488 as
   marked. The grammar actions switch on these numbers, so a production is never
   moved, removed or inserted in the middle; new ones go at the end.

   Token numbers are the scanner's token ids (tokens.lex); end of input is the
   engine's -1 and needs no declaration. ORDER token ids (tokens.lex,
   orvic_lex.h, orvic_lex.cpp). The table generator
   (tools/yacc_tables.c) turns bison's automaton into the engine's row format. */

%define api.token.prefix {TK_}
%define lr.default-reduction accepting
%token-table

/* Bison's own error and undefined tokens would otherwise take 256 and 257,
   which are built-in function keywords here. */
%token YYerror 1000
%token YYUNDEF 1001

/* Operators and punctuation: written in the rules by their spelling. */
%token NullStr       56
%token Eol           57
%token AliasOp       58
%token InStr         59
%token GT            60 ">"
%token GE            61 ">="
%token LT            62 "<"
%token LE            63 "<="
%token EQ            64 "="
%token EXACT         65 "=="
%token COMMA         66 ","
%token NE            67 "#"
%token PLUS          68 "+"
%token ICR           69
%token DCR           70
%token MINUS         71 "-"
%token SLASH         72 "/"
%token STAR          73 "*"
%token PERCENT       74 "%"
%token POW           75 "**"
%token OR            76 ".or."
%token AND           77 ".and."
%token NOT           78 ".not."
%token TRUE          79 ".t."
%token FALSE         80 ".f."
%token BANG          81 "!"
%token LPAREN        82 "("
%token RPAREN        83 ")"
%token LBRACKET      84 "["
%token RBRACKET      85 "]"
%token LBRACE        86 "{"
%token RBRACE        87 "}"
%token ASSIGN        88 ":="
%token PLUSASSIGN    89 "+="
%token MINUSASSIGN   90 "-="
%token STARASSIGN    91 "*="
%token SLASHASSIGN   92 "/="
%token DOT           93 "."
%token PIPE          94 "|"
%token AT            95 "@"

/* Lexical classes. */
%token objPart              96
%token number               97
%token fract                98
%token identName            99
%token macroName            100
%token macroNamePoint       101
%token macroNamePointIdent  102
%token macroFunct           103
%token memvar               104

/* Statement keywords. */
%token announce 105 begin 106 sequence 107 break 108 recover 109 using 110 declare 111 do 112
%token with 113 case 114 endcase 115 otherwise 116 while 117 exit 118 loop 119 end 120 enddo 121
%token procedure 122 fieldAliasOp 123 field 124 aliasend 125 local 126 private 127 public 128
%token return 129 extern 130 in 131 for 132 to 133 next 134 step 135 function 136 parameters 137
%token static 138 user 139 if 140 iif 141 else 142 elseif 143 endif 144 nil 145

/* Line directives and the object-model keywords. */
%token line 160 _ObjNewClass 161 _ObjClassData 162 _ObjClassMethod 163 _ObjEndClass 164 _Super 165
%token HIDDEN 166 READONLY 167

/* Built-in functions, 168-389 (named by the token-name function) and 390-435 (not named). */
%token aadd 168 abs 169 aclone 170 acopy 171 adel 172 aeval 173 afill 174 ains 175 alert 176
%token alias 177 array 178 asc 179 asize 180 asort 181 at 182 rat 183 cdow 184 dow 185 cmonth 186
%token ctod 187 date 188 dtoc 189 dtos 190 devpos 191 devout 192 empty 193 elaptime 194 fcount 195
%token fieldname 196 file 197 flock 198 found 199 inkey 200 len 201 lower 202 ltrim 203 month 204
%token pcount 205 replicate 206 rlock 207 round 208 rtrim 209 seconds 210 select 211 set 212
%token setpos 213 space 214 str 215 strzero 216 substr 217 time 218 transform 219 type 220
%token upper 221 val 222 valtype 223 setcentury 224 dbappend 225 dbcreate 226 dbgobottom 227
%token dbgotop 228 dbusearea 229 dbselectarea 230 eof 231 bof 232 dbskip 233 reccount 234 recno 235
%token lastrec 236 dbcloseall 237 dbclosearea 238 dbgoto 239 dbcreateindex 240 dbsetindex 241
%token dbsetorder 242 dbseek 243 ferase 244 dlgcreate 245 dlgactivate 246 addmenubar 247
%token addmenuitem 248 setvldparam 249 closedialog 250 say 251 get 252 button 253 checkbox 254
%token listbos 255 combobox 256 alltrim 257 dbclearindex 258 indexord 259 dbcommit 260
%token dbcommitall 261 indexkey 262 used 263 dbdelete 264 dbrecall 265 deleted 266 dbstruct 267
%token dbpack 268 dbzap 269 newfolder 270 setfolder 271 box 272 msgalert 273 msgstop 274
%token msgyesorno 275 year 276 day 277 int 278 chr 279 max 280 min 281 showcontrol 282
%token hidecontrol 283 enablecontrol 284 disablecontrol 285 settext 286 setarray 287 fieldget 288
%token fieldput 289 fieldpos 290 browse 291 meter 292 setmeter 293 sqrt 294 keyboard 295
%token selectdate 296 getsignature 297 showsignature 298 delsignature 299 validcpf 300 validcgc 301
%token grid 302 gridarray 303 gridcolumn 304 gridreset 305 gridsetrow 306 gridrow 307 gricol 308
%token gridrows 309 gridleft 310 gridright 311 msgstatus 312 clearstatus 313 getlistrows 314
%token isdirty 315 setdiry 316 sortarray 317 scanarray 318 prow 319 pcol 320 setpfont 321
%token loadprint 322 unloadprint 323 isprinton 324 printsay 325 printsetfont 326 setfocus 327
%token gridcellcolor 328 connecteserver 329 disconnecteserver 330 rpcgeneric 331 rpcmarhold 332
%token dosync 333 dbgrid 334 dbcolumn 335 dbgridsearch 336 getsetonchange 337 setobjcolor 338
%token calldll 339 expfunct 340 pad 341 padr 342 padl 343 reindex 344 movecontrol 345
%token resizecontrol 346 getobjpos 347 getobjsize 348 newbitmap 349 showbitmap 350 setlistrow 351
%token existblock 352 execblock 353 eval 354 getrtver 355 setrasparams 356 registerarray 357
%token restorearray 358 registerexit 359 getspace 360 execdumparray 361 isalpha 362 isdigit 363
%token strtran 364 fieldlen 365 fielddeclen 366 fieldtype 367 rpcquery 368 rpcxml 369 rpcselect 370
%token getconnection 371 synccfg 372 synclog 373 syncdata 374 syncdate 375 addtimer 376
%token killtimer 377 activatetimer 378 suspendtimer 379 fonetizar 380 right 381 left 382
%token setbatch 383 getgeometry 384 setgeometry 385 showsip 386 getpictsize 387 getlastfld 388
%token getserial 389
%token startserver 390 connectconsole 391 sendconsole 392 readconsole 393 checkprocess 394
%token reggetdata 395 regsetdata 396 getsdname 397 istouch 398 execute 399 getprofilecon 400
%token getprofilenet 401 setprofilenet 402 getactiveprofilenet 403 addprofilenet 404
%token addprofilecon 405 setinputstatus 406 settbstatus 407 setsipstatus 408 setsippos 409
%token doencode 410 dodecode 411 setcheckbuffer 412 setencode 413 getlastzero 414 beep 415
%token getpdamodel 416 getsyncver 417 capturecode 418 settimerint 419 smssendmsg 420 smsreadmsg 421
%token smsopen 422 smsclose 423 seterrorlang 424 vaskomonitor 425 vaskomonitorexec 426
%token vaskomonitordis 427 inputbox 428 getobjvalue 429 usescanner 430 printcommand 431
%token ezeltatest 432 cryptodata 433 cameracapture 434 sendimage 435

%token STRING 436

/* Loosest to tightest. A relation followed by another relational operator
   shifts (a = b = c is a = (b = c)); a negation takes the whole relation and
   any sum in it. Additive and multiplicative operators associate left through
   their left-recursive rules and bind tighter than relations. */
%right ".or."
%right ".and."
%precedence ".not."
%right ">" ">=" "<" "<=" "=" "==" "#" InStr
%precedence "+" "-"

/* The remaining conflicts all resolve to shift: a keyword that may also name a
   variable (local, if, step ...) is a keyword when its construct can go on, an
   empty parameter gives way to a closing bracket, lValue "=" at the start of a
   statement is an assignment, and "{||x}" is a code block over an expression. */
%expect 67

%nterm program sourceText statList statement blockStmt identifier staticOpt userOpt
%nterm methodClauseOpt parmDef identList identEle varDefList varDefEle assignExpression
%nterm asnList asnOp asnTarget mainExpression logicExpr simpleExpr relOp notOp unaryOp
%nterm addOp term mulOp factor lValue arrayElement arrayLiteral functionCall nullFunct
%nterm iifArgs iifExpr incDecExpr parmList parm memVar aliasSelect fieldSel lAlias macro
%nterm macroEnd cmpMacro object objectMtd codeBlock endWhile forInit stepOpt endFor
%nterm elseIfOpt elseIfList elseIfClause elseOpt endIf caseList caseEntry otherwiseOpt
%nterm endCase recoverOpt endSeq parentIdentNameOpt classDataTypeOpt classDataScopeOpt
%nterm classDataValueOpt classMethodScopeOpt

%start program

%%

/*   1 */ program: sourceText;
/*   2 */ sourceText: statList;
/*   3 */ statList: statement;
/*   4 */ statList: statList statement;
/*   5 */ statement: line number STRING Eol;
/*   6 */ identifier: identName;
/*   7 */ identifier: local;
/*   8 */ identifier: sequence;
/*   9 */ identifier: step;
/*  10 */ identifier: if;
/*  11 */ identifier: fieldname;
/*  12 */ identifier: pcount;
/*  13 */ identifier: seconds;
/*  14 */ identifier: devpos;
/*  15 */ identifier: flock;
/*  16 */ identifier: setpos;
/*  17 */ identifier: rlock;
/*  18 */ identifier: inkey;
/*  19 */ identifier: identName macro;
/*  20 */ identifier: macroNamePointIdent;
/*  21 */ blockStmt: statList;
/*  22 */ blockStmt: %empty;
/*  23 */ statement: Eol;
/*  24 */ statement: staticOpt function identifier parmDef Eol methodClauseOpt;
/*  25 */ statement: userOpt function identifier parmDef Eol methodClauseOpt;
/*  26 */ statement: staticOpt procedure identifier parmDef Eol methodClauseOpt;
/*  27 */ methodClauseOpt: objPart "(" parmList ")" Eol;
/*  28 */ methodClauseOpt: objPart "(" ")" Eol;
/*  29 */ methodClauseOpt: %empty;
/*  30 */ userOpt: user;
/*  31 */ staticOpt: static;
/*  32 */ staticOpt: %empty;
/*  33 */ parmDef: "(" identList ")";
/*  34 */ parmDef: "(" ")";
/*  35 */ parmDef: %empty;
/*  36 */ statement: parameters identList Eol;
/*  37 */ identList: identEle;
/*  38 */ identList: identList "," identEle;
/*  39 */ identEle: identifier;
/*  40 */ identEle: %empty;
/*  41 */ statement: declare varDefList Eol;
/*  42 */ statement: local varDefList Eol;
/*  43 */ statement: private varDefList Eol;
/*  44 */ statement: public varDefList Eol;
/*  45 */ statement: static varDefList Eol;
/*  46 */ varDefList: varDefEle;
/*  47 */ varDefList: varDefList "," varDefEle;
/*  48 */ varDefEle: assignExpression;
/*  49 */ varDefEle: arrayElement;
/*  50 */ varDefEle: identifier;
/*  51 */ varDefEle: memVar;
/*  52 */ assignExpression: asnList logicExpr;
/*  53 */ asnOp: asnTarget ":=";
/*  54 */ asnOp: asnTarget "+=";
/*  55 */ asnOp: asnTarget "-=";
/*  56 */ asnOp: asnTarget "*=";
/*  57 */ asnOp: asnTarget "/=";
/*  58 */ asnList: asnOp;
/*  59 */ asnList: asnList asnOp;
/*  60 */ asnTarget: factor;
/*  61 */ statement: mainExpression Eol;
/*  62 */ mainExpression: logicExpr;
/*  63 */ mainExpression: assignExpression;
/*  64 */ statement: lValue "=" mainExpression Eol;
/*  65 */ functionCall: identifier "(" parmList ")";
/*  66 */ functionCall: nullFunct;
/*  67 */ functionCall: len "(" mainExpression ")";
/*  68 */ functionCall: val "(" mainExpression ")";
/*  69 */ nullFunct: identifier "(" ")";
/*  70 */ logicExpr: logicExpr ".or." logicExpr;
/*  71 */ logicExpr: logicExpr ".and." logicExpr;
/*  72 */ logicExpr: simpleExpr;
/*  73 */ simpleExpr: simpleExpr relOp simpleExpr %prec "=";
/*  74 */ simpleExpr: notOp simpleExpr %prec ".not.";
/*  75 */ relOp: "=";
/*  76 */ relOp: "==";
/*  77 */ relOp: "#";
/*  78 */ relOp: "<";
/*  79 */ relOp: "<=";
/*  80 */ relOp: ">";
/*  81 */ relOp: ">=";
/*  82 */ relOp: InStr;
/*  83 */ simpleExpr: term;
/*  84 */ simpleExpr: unaryOp term;
/*  85 */ simpleExpr: simpleExpr addOp term;
/*  86 */ addOp: "+";
/*  87 */ addOp: "-";
/*  88 */ unaryOp: "+";
/*  89 */ unaryOp: "-";
/*  90 */ term: factor;
/*  91 */ term: term mulOp factor;
/*  92 */ term: term mulOp unaryOp factor;
/*  93 */ mulOp: "*";
/*  94 */ mulOp: "/";
/*  95 */ mulOp: "%";
/*  96 */ mulOp: "**";
/*  97 */ memVar: memvar identifier;
/*  98 */ memVar: memvar macro;
/*  99 */ memVar: memvar "(" mainExpression ")";
/* 100 */ aliasSelect: lAlias AliasOp identifier;
/* 101 */ aliasSelect: lAlias AliasOp macro;
/* 102 */ aliasSelect: lAlias AliasOp "(" mainExpression ")";
/* 103 */ aliasSelect: lAlias AliasOp "(" parmList ")";
/* 104 */ aliasSelect: lAlias aliasend;
/* 105 */ aliasSelect: fieldSel aliasSelect;
/* 106 */ aliasSelect: fieldSel identifier;
/* 107 */ aliasSelect: field aliasend;
/* 108 */ aliasSelect: fieldSel macro;
/* 109 */ aliasSelect: fieldSel "(" mainExpression ")";
/* 110 */ fieldSel: field AliasOp;
/* 111 */ fieldSel: fieldAliasOp;
/* 112 */ lAlias: identifier;
/* 113 */ lAlias: macro;
/* 114 */ lAlias: "(" mainExpression ")";
/* 115 */ arrayElement: lValue "[" parmList "]";
/* 116 */ lValue: identifier;
/* 117 */ lValue: arrayElement;
/* 118 */ lValue: functionCall;
/* 119 */ lValue: object;
/* 120 */ lValue: objectMtd;
/* 121 */ lValue: aliasSelect;
/* 122 */ lValue: memVar;
/* 123 */ lValue: arrayLiteral;
/* 124 */ lValue: macro;
/* 125 */ lValue: cmpMacro;
/* 126 */ macro: macroName;
/* 127 */ macro: macroEnd;
/* 128 */ macroEnd: macroFunct mainExpression ")";
/* 129 */ macroEnd: macroNamePoint;
/* 130 */ cmpMacro: factor macro;
/* 131 */ cmpMacro: macroEnd factor;
/* 132 */ factor: lValue;
/* 133 */ factor: number fract;
/* 134 */ factor: fract;
/* 135 */ factor: number;
/* 136 */ factor: STRING;
/* 137 */ factor: NullStr;
/* 138 */ factor: factor "[" parmList "]";
/* 139 */ factor: "@" factor;
/* 140 */ factor: ".t.";
/* 141 */ factor: ".f.";
/* 142 */ factor: nil;
/* 143 */ factor: "(" parmList ")";
/* 144 */ factor: "(" mainExpression ")";
/* 145 */ object: lValue objPart;
/* 146 */ objectMtd: object "(" parmList ")";
/* 147 */ objectMtd: object "(" ")";
/* 148 */ objectMtd: _Super objPart "(" parmList ")";
/* 149 */ factor: nullFunct objPart "(" parmList ")";
/* 150 */ factor: nullFunct objPart;
/* 151 */ functionCall: if iifArgs;
/* 152 */ functionCall: iif iifArgs;
/* 153 */ iifArgs: "(" mainExpression "," iifExpr "," iifExpr ")";
/* 154 */ iifExpr: mainExpression;
/* 155 */ iifExpr: %empty;
/* 156 */ incDecExpr: ICR factor;
/* 157 */ incDecExpr: factor ICR;
/* 158 */ incDecExpr: DCR factor;
/* 159 */ incDecExpr: factor DCR;
/* 160 */ statement: return Eol;
/* 161 */ statement: return mainExpression Eol;
/* 162 */ factor: incDecExpr;
/* 163 */ arrayLiteral: "{" parmList "}";
/* 164 */ arrayLiteral: "{" "}";
/* 165 */ notOp: ".not.";
/* 166 */ notOp: "!";
/* 167 */ parmList: parm;
/* 168 */ parmList: parmList "," parm;
/* 169 */ parm: mainExpression;
/* 170 */ parm: %empty;
/* 171 */ statement: while mainExpression Eol blockStmt endWhile;
/* 172 */ endWhile: end Eol;
/* 173 */ endWhile: enddo Eol;
/* 174 */ statement: exit Eol;
/* 175 */ statement: loop Eol;
/* 176 */ statement: for forInit to mainExpression stepOpt Eol blockStmt endFor;
/* 177 */ forInit: identifier "=" mainExpression;
/* 178 */ forInit: identifier ":=" mainExpression;
/* 179 */ stepOpt: %empty;
/* 180 */ stepOpt: step mainExpression;
/* 181 */ endFor: next Eol;
/* 182 */ endFor: end Eol;
/* 183 */ statement: if mainExpression Eol blockStmt elseIfOpt elseOpt endIf;
/* 184 */ elseIfOpt: %empty;
/* 185 */ elseIfOpt: elseIfList;
/* 186 */ elseIfList: elseIfClause;
/* 187 */ elseIfList: elseIfList elseIfClause;
/* 188 */ elseIfClause: elseif mainExpression Eol blockStmt;
/* 189 */ elseOpt: %empty;
/* 190 */ elseOpt: else Eol blockStmt;
/* 191 */ endIf: end Eol;
/* 192 */ endIf: endif Eol;
/* 193 */ statement: do case Eol caseList otherwiseOpt endCase;
/* 194 */ caseEntry: case mainExpression Eol blockStmt;
/* 195 */ caseEntry: Eol;
/* 196 */ caseList: caseEntry;
/* 197 */ caseList: caseList caseEntry;
/* 198 */ otherwiseOpt: otherwise Eol blockStmt;
/* 199 */ otherwiseOpt: %empty;
/* 200 */ endCase: end Eol;
/* 201 */ endCase: endcase Eol;
/* 202 */ endCase: end case Eol;
/* 203 */ codeBlock: "{" "|" identList "|" parmList "}";
/* 204 */ codeBlock: "{" "|" "|" parmList "}";
/* 205 */ codeBlock: "{" "|" identList "|" logicExpr "}";
/* 206 */ codeBlock: "{" "|" "|" logicExpr "}";
/* 207 */ factor: codeBlock;
/* 208 */ statement: begin sequence Eol blockStmt recoverOpt endSeq;
/* 209 */ recoverOpt: %empty;
/* 210 */ recoverOpt: recover using identifier Eol blockStmt;
/* 211 */ recoverOpt: recover Eol blockStmt;
/* 212 */ endSeq: end Eol;
/* 213 */ endSeq: end sequence Eol;
/* 214 */ statement: break Eol;
/* 215 */ functionCall: break "(" mainExpression ")";
/* 216 */ statement: _ObjNewClass "(" identifier "," parentIdentNameOpt ")" Eol;
/* 217 */ parentIdentNameOpt: %empty;
/* 218 */ parentIdentNameOpt: identifier;
/* 219 */ statement: _ObjClassData "(" identifier "," classDataTypeOpt "," classDataScopeOpt "," classDataValueOpt ")" Eol;
/* 220 */ statement: _ObjClassMethod "(" identifier "," parmDef "," classMethodScopeOpt ")" Eol;
/* 221 */ statement: _ObjEndClass "(" ")" Eol;
/* 222 */ classDataTypeOpt: %empty;
/* 223 */ classDataTypeOpt: identifier;
/* 224 */ classDataScopeOpt: %empty;
/* 225 */ classDataScopeOpt: HIDDEN;
/* 226 */ classDataScopeOpt: READONLY;
/* 227 */ classDataValueOpt: %empty;
/* 228 */ classDataValueOpt: factor;
/* 229 */ classMethodScopeOpt: %empty;
/* 230 */ classMethodScopeOpt: identifier;
/* 231 */ functionCall: alert "(" mainExpression ")";
/* 232 */ functionCall: aadd "(" parmList ")";
/* 233 */ functionCall: aclone "(" parmList ")";
/* 234 */ functionCall: acopy "(" parmList ")";
/* 235 */ functionCall: adel "(" parmList ")";
/* 236 */ functionCall: afill "(" parmList ")";
/* 237 */ functionCall: ains "(" parmList ")";
/* 238 */ functionCall: array "(" parmList ")";
/* 239 */ functionCall: asc "(" parmList ")";
/* 240 */ functionCall: asize "(" parmList ")";
/* 241 */ functionCall: asort "(" parmList ")";
/* 242 */ functionCall: aeval "(" parmList ")";
/* 243 */ functionCall: abs "(" parmList ")";
/* 244 */ functionCall: at "(" parmList ")";
/* 245 */ functionCall: rat "(" parmList ")";
/* 246 */ functionCall: cdow "(" parmList ")";
/* 247 */ functionCall: dow "(" parmList ")";
/* 248 */ functionCall: cmonth "(" parmList ")";
/* 249 */ functionCall: ctod "(" mainExpression ")";
/* 250 */ functionCall: dtoc "(" mainExpression ")";
/* 251 */ functionCall: dtos "(" mainExpression ")";
/* 252 */ functionCall: str "(" parmList ")";
/* 253 */ functionCall: substr "(" parmList ")";
/* 254 */ functionCall: devout "(" mainExpression ")";
/* 255 */ functionCall: set "(" parmList ")";
/* 256 */ functionCall: setcentury "(" parmList ")";
/* 257 */ functionCall: time "(" parmList ")";
/* 258 */ functionCall: elaptime "(" parmList ")";
/* 259 */ functionCall: date "(" parmList ")";
/* 260 */ functionCall: dbcreate "(" parmList ")";
/* 261 */ functionCall: dbusearea "(" parmList ")";
/* 262 */ functionCall: dbappend "(" parmList ")";
/* 263 */ functionCall: dbgotop "(" parmList ")";
/* 264 */ functionCall: dbgobottom "(" parmList ")";
/* 265 */ functionCall: dbskip "(" parmList ")";
/* 266 */ functionCall: eof "(" parmList ")";
/* 267 */ functionCall: bof "(" parmList ")";
/* 268 */ functionCall: file "(" parmList ")";
/* 269 */ functionCall: lastrec "(" parmList ")";
/* 270 */ functionCall: reccount "(" parmList ")";
/* 271 */ functionCall: recno "(" parmList ")";
/* 272 */ functionCall: dbcloseall "(" parmList ")";
/* 273 */ functionCall: dbclosearea "(" parmList ")";
/* 274 */ functionCall: dbgoto "(" parmList ")";
/* 275 */ functionCall: dbselectarea "(" mainExpression ")";
/* 276 */ functionCall: dbcreateindex "(" parmList ")";
/* 277 */ functionCall: dbsetindex "(" parmList ")";
/* 278 */ functionCall: dbsetorder "(" parmList ")";
/* 279 */ functionCall: dbseek "(" parmList ")";
/* 280 */ functionCall: ferase "(" mainExpression ")";
/* 281 */ functionCall: dlgcreate "(" parmList ")";
/* 282 */ functionCall: dlgactivate "(" parmList ")";
/* 283 */ functionCall: addmenubar "(" parmList ")";
/* 284 */ functionCall: addmenuitem "(" parmList ")";
/* 285 */ functionCall: setvldparam "(" parmList ")";
/* 286 */ functionCall: closedialog "(" parmList ")";
/* 287 */ functionCall: say "(" parmList ")";
/* 288 */ functionCall: get "(" parmList ")";
/* 289 */ functionCall: button "(" parmList ")";
/* 290 */ functionCall: checkbox "(" parmList ")";
/* 291 */ functionCall: listbos "(" parmList ")";
/* 292 */ functionCall: combobox "(" parmList ")";
/* 293 */ functionCall: dbclearindex "(" parmList ")";
/* 294 */ functionCall: indexord "(" parmList ")";
/* 295 */ functionCall: dbcommit "(" parmList ")";
/* 296 */ functionCall: dbcommitall "(" parmList ")";
/* 297 */ functionCall: indexkey "(" parmList ")";
/* 298 */ functionCall: alias "(" parmList ")";
/* 299 */ functionCall: used "(" parmList ")";
/* 300 */ functionCall: dbdelete "(" parmList ")";
/* 301 */ functionCall: deleted "(" parmList ")";
/* 302 */ functionCall: dbstruct "(" parmList ")";
/* 303 */ functionCall: dbrecall "(" parmList ")";
/* 304 */ functionCall: select "(" parmList ")";
/* 305 */ functionCall: dbpack "(" parmList ")";
/* 306 */ functionCall: dbzap "(" parmList ")";
/* 307 */ functionCall: newfolder "(" parmList ")";
/* 308 */ functionCall: setfolder "(" parmList ")";
/* 309 */ functionCall: box "(" parmList ")";
/* 310 */ functionCall: msgalert "(" parmList ")";
/* 311 */ functionCall: msgstop "(" parmList ")";
/* 312 */ functionCall: msgyesorno "(" parmList ")";
/* 313 */ functionCall: strzero "(" parmList ")";
/* 314 */ functionCall: found "(" parmList ")";
/* 315 */ functionCall: year "(" parmList ")";
/* 316 */ functionCall: month "(" parmList ")";
/* 317 */ functionCall: int "(" parmList ")";
/* 318 */ functionCall: day "(" parmList ")";
/* 319 */ functionCall: chr "(" parmList ")";
/* 320 */ functionCall: fcount "(" parmList ")";
/* 321 */ functionCall: space "(" parmList ")";
/* 322 */ functionCall: valtype "(" parmList ")";
/* 323 */ functionCall: type "(" parmList ")";
/* 324 */ functionCall: lower "(" parmList ")";
/* 325 */ functionCall: upper "(" parmList ")";
/* 326 */ functionCall: empty "(" parmList ")";
/* 327 */ functionCall: max "(" parmList ")";
/* 328 */ functionCall: min "(" parmList ")";
/* 329 */ functionCall: replicate "(" parmList ")";
/* 330 */ functionCall: round "(" parmList ")";
/* 331 */ functionCall: rtrim "(" parmList ")";
/* 332 */ functionCall: ltrim "(" parmList ")";
/* 333 */ functionCall: alltrim "(" parmList ")";
/* 334 */ functionCall: showcontrol "(" parmList ")";
/* 335 */ functionCall: hidecontrol "(" parmList ")";
/* 336 */ functionCall: enablecontrol "(" parmList ")";
/* 337 */ functionCall: disablecontrol "(" parmList ")";
/* 338 */ functionCall: settext "(" parmList ")";
/* 339 */ functionCall: setarray "(" parmList ")";
/* 340 */ functionCall: fieldget "(" parmList ")";
/* 341 */ functionCall: fieldput "(" parmList ")";
/* 342 */ functionCall: fieldpos "(" parmList ")";
/* 343 */ functionCall: browse "(" parmList ")";
/* 344 */ functionCall: meter "(" parmList ")";
/* 345 */ functionCall: setmeter "(" parmList ")";
/* 346 */ functionCall: sqrt "(" parmList ")";
/* 347 */ functionCall: keyboard "(" parmList ")";
/* 348 */ functionCall: selectdate "(" parmList ")";
/* 349 */ functionCall: getsignature "(" parmList ")";
/* 350 */ functionCall: showsignature "(" parmList ")";
/* 351 */ functionCall: delsignature "(" parmList ")";
/* 352 */ functionCall: validcpf "(" parmList ")";
/* 353 */ functionCall: validcgc "(" parmList ")";
/* 354 */ functionCall: grid "(" parmList ")";
/* 355 */ functionCall: gridarray "(" parmList ")";
/* 356 */ functionCall: gridcolumn "(" parmList ")";
/* 357 */ functionCall: gridreset "(" parmList ")";
/* 358 */ functionCall: gridsetrow "(" parmList ")";
/* 359 */ functionCall: gridrow "(" parmList ")";
/* 360 */ functionCall: gricol "(" parmList ")";
/* 361 */ functionCall: gridrows "(" parmList ")";
/* 362 */ functionCall: gridleft "(" parmList ")";
/* 363 */ functionCall: gridright "(" parmList ")";
/* 364 */ functionCall: gridcellcolor "(" parmList ")";
/* 365 */ functionCall: transform "(" parmList ")";
/* 366 */ functionCall: msgstatus "(" parmList ")";
/* 367 */ functionCall: clearstatus "(" parmList ")";
/* 368 */ functionCall: getlistrows "(" parmList ")";
/* 369 */ functionCall: isdirty "(" parmList ")";
/* 370 */ functionCall: setdiry "(" parmList ")";
/* 371 */ functionCall: sortarray "(" parmList ")";
/* 372 */ functionCall: scanarray "(" parmList ")";
/* 373 */ functionCall: prow "(" parmList ")";
/* 374 */ functionCall: pcol "(" parmList ")";
/* 375 */ functionCall: setpfont "(" parmList ")";
/* 376 */ functionCall: loadprint "(" parmList ")";
/* 377 */ functionCall: unloadprint "(" parmList ")";
/* 378 */ functionCall: isprinton "(" parmList ")";
/* 379 */ functionCall: printsay "(" parmList ")";
/* 380 */ functionCall: printsetfont "(" parmList ")";
/* 381 */ functionCall: setfocus "(" parmList ")";
/* 382 */ functionCall: connecteserver "(" parmList ")";
/* 383 */ functionCall: disconnecteserver "(" parmList ")";
/* 384 */ functionCall: rpcgeneric "(" parmList ")";
/* 385 */ functionCall: rpcmarhold "(" parmList ")";
/* 386 */ functionCall: dosync "(" parmList ")";
/* 387 */ functionCall: dbgrid "(" parmList ")";
/* 388 */ functionCall: dbcolumn "(" parmList ")";
/* 389 */ functionCall: dbgridsearch "(" parmList ")";
/* 390 */ functionCall: getsetonchange "(" parmList ")";
/* 391 */ functionCall: setobjcolor "(" parmList ")";
/* 392 */ functionCall: expfunct "(" parmList ")";
/* 393 */ functionCall: calldll "(" parmList ")";
/* 394 */ functionCall: pad "(" parmList ")";
/* 395 */ functionCall: padr "(" parmList ")";
/* 396 */ functionCall: padl "(" parmList ")";
/* 397 */ functionCall: reindex "(" parmList ")";
/* 398 */ functionCall: movecontrol "(" parmList ")";
/* 399 */ functionCall: resizecontrol "(" parmList ")";
/* 400 */ functionCall: getobjpos "(" parmList ")";
/* 401 */ functionCall: getobjsize "(" parmList ")";
/* 402 */ functionCall: newbitmap "(" parmList ")";
/* 403 */ functionCall: showbitmap "(" parmList ")";
/* 404 */ functionCall: setlistrow "(" parmList ")";
/* 405 */ functionCall: existblock "(" parmList ")";
/* 406 */ functionCall: execblock "(" parmList ")";
/* 407 */ functionCall: eval "(" parmList ")";
/* 408 */ functionCall: setrasparams "(" parmList ")";
/* 409 */ functionCall: getrtver "(" parmList ")";
/* 410 */ functionCall: registerarray "(" parmList ")";
/* 411 */ functionCall: restorearray "(" parmList ")";
/* 412 */ functionCall: registerexit "(" parmList ")";
/* 413 */ functionCall: getspace "(" parmList ")";
/* 414 */ functionCall: execdumparray "(" parmList ")";
/* 415 */ functionCall: isalpha "(" parmList ")";
/* 416 */ functionCall: isdigit "(" parmList ")";
/* 417 */ functionCall: strtran "(" parmList ")";
/* 418 */ functionCall: fieldlen "(" parmList ")";
/* 419 */ functionCall: fielddeclen "(" parmList ")";
/* 420 */ functionCall: fieldtype "(" parmList ")";
/* 421 */ functionCall: rpcquery "(" parmList ")";
/* 422 */ functionCall: rpcxml "(" parmList ")";
/* 423 */ functionCall: rpcselect "(" parmList ")";
/* 424 */ functionCall: getconnection "(" parmList ")";
/* 425 */ functionCall: synccfg "(" parmList ")";
/* 426 */ functionCall: synclog "(" parmList ")";
/* 427 */ functionCall: syncdata "(" parmList ")";
/* 428 */ functionCall: syncdate "(" parmList ")";
/* 429 */ functionCall: addtimer "(" parmList ")";
/* 430 */ functionCall: killtimer "(" parmList ")";
/* 431 */ functionCall: activatetimer "(" parmList ")";
/* 432 */ functionCall: suspendtimer "(" parmList ")";
/* 433 */ functionCall: fonetizar "(" parmList ")";
/* 434 */ functionCall: right "(" parmList ")";
/* 435 */ functionCall: left "(" parmList ")";
/* 436 */ functionCall: setbatch "(" parmList ")";
/* 437 */ functionCall: setgeometry "(" parmList ")";
/* 438 */ functionCall: getgeometry "(" parmList ")";
/* 439 */ functionCall: showsip "(" parmList ")";
/* 440 */ functionCall: getpictsize "(" parmList ")";
/* 441 */ functionCall: getlastfld "(" parmList ")";
/* 442 */ functionCall: getserial "(" parmList ")";
/* 443 */ functionCall: startserver "(" parmList ")";
/* 444 */ functionCall: connectconsole "(" parmList ")";
/* 445 */ functionCall: sendconsole "(" parmList ")";
/* 446 */ functionCall: readconsole "(" parmList ")";
/* 447 */ functionCall: checkprocess "(" parmList ")";
/* 448 */ functionCall: reggetdata "(" parmList ")";
/* 449 */ functionCall: regsetdata "(" parmList ")";
/* 450 */ functionCall: getsdname "(" parmList ")";
/* 451 */ functionCall: istouch "(" parmList ")";
/* 452 */ functionCall: execute "(" parmList ")";
/* 453 */ functionCall: getprofilecon "(" parmList ")";
/* 454 */ functionCall: getprofilenet "(" parmList ")";
/* 455 */ functionCall: setprofilenet "(" parmList ")";
/* 456 */ functionCall: getactiveprofilenet "(" parmList ")";
/* 457 */ functionCall: addprofilenet "(" parmList ")";
/* 458 */ functionCall: addprofilecon "(" parmList ")";
/* 459 */ functionCall: setinputstatus "(" parmList ")";
/* 460 */ functionCall: settbstatus "(" parmList ")";
/* 461 */ functionCall: setsipstatus "(" parmList ")";
/* 462 */ functionCall: setsippos "(" parmList ")";
/* 463 */ functionCall: doencode "(" parmList ")";
/* 464 */ functionCall: dodecode "(" parmList ")";
/* 465 */ functionCall: setcheckbuffer "(" parmList ")";
/* 466 */ functionCall: setencode "(" parmList ")";
/* 467 */ functionCall: getlastzero "(" parmList ")";
/* 468 */ functionCall: beep "(" parmList ")";
/* 469 */ functionCall: getpdamodel "(" parmList ")";
/* 470 */ functionCall: getsyncver "(" parmList ")";
/* 471 */ functionCall: capturecode "(" parmList ")";
/* 472 */ functionCall: settimerint "(" parmList ")";
/* 473 */ functionCall: smssendmsg "(" parmList ")";
/* 474 */ functionCall: smsreadmsg "(" parmList ")";
/* 475 */ functionCall: smsopen "(" parmList ")";
/* 476 */ functionCall: smsclose "(" parmList ")";
/* 477 */ functionCall: seterrorlang "(" parmList ")";
/* 478 */ functionCall: vaskomonitor "(" parmList ")";
/* 479 */ functionCall: vaskomonitorexec "(" parmList ")";
/* 480 */ functionCall: vaskomonitordis "(" parmList ")";
/* 481 */ functionCall: inputbox "(" parmList ")";
/* 482 */ functionCall: getobjvalue "(" parmList ")";
/* 483 */ functionCall: usescanner "(" parmList ")";
/* 484 */ functionCall: printcommand "(" parmList ")";
/* 485 */ functionCall: ezeltatest "(" parmList ")";
/* 486 */ functionCall: cryptodata "(" parmList ")";
/* 487 */ functionCall: cameracapture "(" parmList ")";
/* 488 */ functionCall: sendimage "(" parmList ")";

%%
