# Lexical rules of the Zelta language, read by tools/lex_tables at build time.
# Token ids here are the parser's terminals (grammar.y) and the names that
# OrvicLexClass::tokenName gives (orvic_lex.cpp): keep the three in step.
# ORDER token ids (grammar.y, orvic_lex.h, orvic_lex.cpp); the frontend test
# TokenIdsAgreeAcrossGrammarScannerAndNames checks them.
#
# Five expression lists: 0 main, 1 and 2 the insides of single- and
# double-quoted strings, 3 a block comment, 4 the rest of a line that is
# dropped (line comments and preprocessor directives). Ties between rules of
# equal length go to the rule listed first, so keywords precede identName.

define word      [A-Za-z_][A-Za-z0-9_]*

list 0
[ \t\r]+                     51 drop
"\n"                         57
";"                          57
"//"                         53 drop push 4
"/*"                         52 drop push 3
"\""                         54 drop push 2
"'"                          55 drop push 1
"\"\""                       56
# An empty single-quoted string is the same null string: without this rule
# '' would open and close a list and leave the parser no operand at all.
"''"                         56

# Directive lines that reach the scanner are dropped up to their end.
i"#command"                  146 drop push 4
i"#xcommand"                 147 drop push 4
i"#translate"                148 drop push 4
i"#xtranslate"               149 drop push 4
i"#include"                  150 drop push 4
i"#define"                   151 drop push 4
i"#error"                    152 drop push 4
i"#ifdef"                    153 drop push 4
i"#ifndef"                   154 drop push 4
i"#else"                     155 drop push 4
i"#endif"                    156 drop push 4
i"#stdout"                   157 drop push 4
i"#undef"                    158 drop push 4
i"#line"                     160

"$"                          59
">"                          60
">="                         61
"<"                          62
"<="                         63
"="                          64
"=="                         65
","                          66
"#"                          67
"!="                         67
"+"                          68
"++"                         69
"--"                         70
"-"                          71
"/"                          72
"*"                          73
"%"                          74
"^"                          75
"**"                         75
i".or."                      76
i".and."                     77
i".not."                     78
i".t."                       79
i".f."                       80
"!"                          81
"("                          82
")"                          83
"["                          84
"]"                          85
"{"                          86
"}"                          87
":="                         88
"+="                         89
"-="                         90
"*="                         91
"/="                         92
"."                          93
"|"                          94
"@"                          95

":" {word}                   96
[0-9]+                       97
"." [0-9]+                   98
"&" {word}                   100
"&" {word} "."               101
"&" {word} "." {word}        102
"&("                         103
i"m->"                       104
i"field->"                   123
"->"                         58
# ->END only when the word ends there: alias->ENDERECO is a field, not
# ->END followed by ERECO. The character after END is given back.
i"->end" [^A-Za-z0-9_]       125 cut

# Statement keywords; /N accepts any prefix of at least N letters.
i"announce"/4                105
i"begin"/4                   106
i"sequence"/4                107
i"break"/4                   108
i"recover"/4                 109
i"using"/4                   110
i"declare"/4                 111
i"do"                        112
i"with"                      113
i"case"                      114
i"endcase"/4                 115
i"otherwise"/4               116
i"while"/4                   117
i"exit"                      118
i"loop"                      119
i"end"                       120
i"enddo"/4                   121
i"procedure"/4               122
i"_field"/5                  124
i"local"/4                   126
i"private"/4                 127
i"public"/4                  128
i"return"/4                  129
i"external"/4                130
i"in"                        131
i"for"                       132
i"to"                        133
i"next"                      134
i"step"                      135
i"function"/4                136
i"parameters"/4              137
i"static"/4                  138
i"user"                      139
i"if"                        140
i"iif"                       141
i"else"                      142
i"elseif"/5                  143
i"endif"/4                   144
i"nil"                       145

i"_ObjNewClass"              161
i"_ObjClassData"             162
i"_ObjClassMethod"           163
i"_ObjEndClass"              164
i"_Super"                    165
i"HIDDEN"                    166
i"READONLY"                  167

# Built-in functions, written in full. A bracketed spelling replaces the
# token's name (gricol is written gridcol); trim is a second spelling of rtrim.
i"aadd"                      168
i"abs"                       169
i"aclone"                    170
i"acopy"                     171
i"adel"                      172
i"aeval"                     173
i"afill"                     174
i"ains"                      175
i"alert"                     176
i"alias"                     177
i"array"                     178
i"asc"                       179
i"asize"                     180
i"asort"                     181
i"at"                        182
i"rat"                       183
i"cdow"                      184
i"dow"                       185
i"cmonth"                    186
i"ctod"                      187
i"date"                      188
i"dtoc"                      189
i"dtos"                      190
i"devpos"                    191
i"devout"                    192
i"empty"                     193
i"elaptime"                  194
i"fcount"                    195
i"fieldname"                 196
i"file"                      197
i"flock"                     198
i"found"                     199
i"inkey"                     200
i"len"                       201
i"lower"                     202
i"ltrim"                     203
i"month"                     204
i"pcount"                    205
i"replicate"                 206
i"rlock"                     207
i"round"                     208
i"rtrim"                     209
i"trim"                      209
i"seconds"                   210
i"select"                    211
i"set"                       212
i"setpos"                    213
i"space"                     214
i"str"                       215
i"strzero"                   216
i"substr"                    217
i"time"                      218
i"transform"                 219
i"type"                      220
i"upper"                     221
i"val"                       222
i"valtype"                   223
i"__setcentury"              224
i"dbappend"                  225
i"dbcreate"                  226
i"dbgobottom"                227
i"dbgotop"                   228
i"dbusearea"                 229
i"dbselectarea"              230
i"eof"                       231
i"bof"                       232
i"dbskip"                    233
i"reccount"                  234
i"recno"                     235
i"lastrec"                   236
i"dbcloseall"                237
i"dbclosearea"               238
i"dbgoto"                    239
i"dbcreateindex"             240
i"dbsetindex"                241
i"dbsetorder"                242
i"dbseek"                    243
i"ferase"                    244
i"dlgcreate"                 245
i"dlgactivate"               246
i"addmenubar"                247
i"addmenuitem"               248
i"setvldparam"               249
i"closedialog"               250
i"say"                       251
i"get"                       252
i"button"                    253
i"checkbox"                  254
i"listbox"                   255
i"combobox"                  256
i"alltrim"                   257
i"dbclearindex"              258
i"indexord"                  259
i"dbcommit"                  260
i"dbcommitall"               261
i"indexkey"                  262
i"used"                      263
i"dbdelete"                  264
i"dbrecall"                  265
i"deleted"                   266
i"dbstruct"                  267
i"__dbpack"                  268
i"__dbzap"                   269
i"newfolder"                 270
i"setfolder"                 271
i"box"                       272
i"msgalert"                  273
i"msgstop"                   274
i"msgyesorno"                275
i"year"                      276
i"day"                       277
i"int"                       278
i"chr"                       279
i"max"                       280
i"min"                       281
i"showcontrol"               282
i"hidecontrol"               283
i"enablecontrol"             284
i"disablecontrol"            285
i"settext"                   286
i"setarray"                  287
i"fieldget"                  288
i"fieldput"                  289
i"fieldpos"                  290
i"browse"                    291
i"meter"                     292
i"setmeter"                  293
i"sqrt"                      294
i"keyboard"                  295
i"selectdate"                296
i"getsignature"              297
i"showsignature"             298
i"delsignature"              299
i"validcpf"                  300
i"validcgc"                  301
i"grid"                      302
i"gridarray"                 303
i"gridcolumn"                304
i"gridreset"                 305
i"gridsetrow"                306
i"gridrow"                   307
i"gridcol"                   308
i"gridrows"                  309
i"gridleft"                  310
i"gridright"                 311
i"msgstatus"                 312
i"clearstatus"               313
i"getlistrows"               314
i"isdirty"                   315
i"setdirty"                  316
i"sortarray"                 317
i"scanarray"                 318
i"prow"                      319
i"pcol"                      320
i"setpfont"                  321
i"loadprint"                 322
i"unloadprint"               323
i"isprinton"                 324
i"printsay"                  325
i"printsetfont"              326
i"setfocus"                  327
i"gridcellcolor"             328
i"connectserver"             329
i"disconnectserver"          330
i"rpcgeneric"                331
i"rpcmarhold"                332
i"dosync"                    333
i"dbgrid"                    334
i"dbcolumn"                  335
i"dbgridsearch "             336
i"getsetonchange"            337
i"setobjcolor"               338
i"calldll"                   339
i"expfunct"                  340
i"pad"                       341
i"padr"                      342
i"padl"                      343
i"reindex"                   344
i"movecontrol"               345
i"resizecontrol"             346
i"getobjpos"                 347
i"getobjsize"                348
i"newbitmap"                 349
i"showbitmap"                350
i"setlistrow"                351
i"existblock"                352
i"execblock"                 353
i"eval"                      354
i"getrtver"                  355
i"setrasparams"              356
i"registerarray"             357
i"restorearray"              358
i"registerexit"              359
i"getspace"                  360
i"execdumparray"             361
i"isalpha"                   362
i"isdigit"                   363
i"strtran"                   364
i"fieldlen"                  365
i"fielddedlen"               366
i"fieldtype"                 367
i"rpcquery"                  368
i"rpcxml"                    369
i"rpcselect"                 370
i"getconnection"             371
i"synccfg"                   372
i"synclog"                   373
i"syncdata"                  374
i"syncdate"                  375
i"addtimer"                  376
i"killtimer"                 377
i"activatetimer"             378
i"suspendtimer"              379
i"fonetizar"                 380
i"right"                     381
i"left"                      382
i"setbatch"                  383
i"getgeometry"               384
i"setgeometry"               385
i"showsip"                   386
i"getpictsize"               387
i"getlastfld"                388
i"getserial"                 389
i"startserver"               390
i"connectconsole"            391
i"sendconsole"               392
i"readconsole"               393
i"checkprocess"              394
i"reggetdata"                395
i"regsetdata"                396
i"getsdname"                 397
i"istouch"                   398
i"execute"                   399
i"getprofilecon"             400
i"getprofilenet"             401
i"setprofilenet"             402
i"getactiveprofilenet"       403
i"addprofilenet"             404
i"addprofilecon"             405
i"setinputstatus"            406
i"settbstatus"               407
i"setsipstatus"              408
i"setsippos"                 409
i"doencode"                  410
i"dodecode"                  411
i"setcheckbuffer"            412
i"setencode"                 413
i"getlastzero"               414
i"beep"                      415
i"getpdamodel"               416
i"getsyncver"                417
i"capturecode"               418
i"settimerint"               419
i"smssendmsg"                420
i"smsreadmsg"                421
i"smsopen"                   422
i"smsclose"                  423
i"seterrorlang"              424
i"vaskomonitor"              425
i"vaskomonitorexec"          426
i"vaskomonitordis"           427
i"inputbox"                  428
i"getobjvalue"               429
i"usescanner"                430
i"printcommand"              431
i"ezeltatest"                432
i"cryptodata"                433
i"cameracapture"             434
i"sendimage"                 435

{word}                       99

# Strings: each run up to the closing quote or a newline is one STRING.
list 1
[^'\n]+                      436
"\n"                         51 drop
"'"                          55 drop pop

list 2
[^"\n]+                      436
"\n"                         51 drop
"\""                         54 drop pop

list 3
[^*]+                        52 drop
"*"+                         52 drop
"*"+ "/"                     52 drop pop

# The newline that ends a dropped line still ends the statement before it,
# so "x := 1 // note" is a statement; further newlines are taken with it.
list 4
[^\n]+                       53 drop
"\n"+                        57 pop
