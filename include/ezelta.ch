/*
   ezelta.ch: the standard command header of Zelta. zelta16 reads it before
   every source (the compiler passes it through "defines.ch"). Its rules turn
   the commands of the language into calls of the built-in functions, and
   the xBase spellings of loop and block ends into those of the grammar.
   docs/commands.md lists every command with the call it becomes.
*/

#ifndef _EZELTA_CH
#define _EZELTA_CH

/* ---- block ends: the grammar closes WHILE with ENDDO or END, FOR with
   NEXT or END, IF with ENDIF or END, DO CASE with ENDCASE or END ---- */
#command DO WHILE <cond>           => WHILE <cond>
#xcommand ENDDO <*x*>              => ENDDO
#xcommand END WHILE [<*x*>]        => ENDDO
#xcommand ENDWHILE [<*x*>]         => ENDDO
#xcommand END DO [<*x*>]           => ENDDO
#xcommand NEXT <v> [TO <*x*>]      => NEXT
#xcommand ENDFOR [<*x*>]           => NEXT
#xcommand END FOR [<*x*>]          => NEXT
#xcommand ENDIF <*x*>              => ENDIF
#xcommand END IF [<*x*>]           => ENDIF
#xcommand ENDCASE <*x*>            => ENDCASE

/* ---- console output (QOut and QQOut are run-time functions) ---- */
#command ? [<list,...>]            => QOut( <list> )
#command ?? [<list,...>]           => QQOut( <list> )

/* ---- small statement helpers ---- */
#command STORE <v> TO <var1> [, <varN>] => <var1> := [ <varN> := ] <v>
#xcommand DEFAULT <v1> TO <x1> [, <vN> TO <xN>] => ;
          IF <v1> == NIL ; <v1> := <x1> ; ENDIF [; IF <vN> == NIL ; <vN> := <xN> ; ENDIF]

/* ---- work areas ---- */
#command USE                       => dbCloseArea()
#command USE <(db)> [VIA <rdd>] [ALIAS <a>] [<new: NEW>] [<ex: EXCLUSIVE>] ;
             [<sh: SHARED>] [<ro: READONLY>] [INDEX <(index1)> [, <(indexN)>]] => ;
         dbUseArea( <.new.>, <rdd>, <(db)>, <(a)>, <.sh.>, <.ro.> ) ;
         [; dbSetIndex( <(indexN)> )] [; dbSetIndex( <(index1)> )]

#command SELECT <(area)>           => dbSelectArea( <(area)> )

#command GO <n>                    => dbGoto( <n> )
#command GOTO <n>                  => dbGoto( <n> )
#command GO TOP                    => dbGoTop()
#command GO BOTTOM                 => dbGoBottom()
#command GOTO TOP                  => dbGoTop()
#command GOTO BOTTOM               => dbGoBottom()

#command SKIP [<n>]                => dbSkip( <n> )
#command SKIP [<n>] ALIAS <a>      => <a>->( dbSkip( <n> ) )

#command APPEND BLANK              => dbAppend()
#command REPLACE <f1> WITH <v1> [, <fN> WITH <vN>] => ;
         FieldPut( FieldPos( <(f1)> ), <v1> ) [; FieldPut( FieldPos( <(fN)> ), <vN> )]
#command DELETE                    => dbDelete()
#command RECALL                    => dbRecall()
#command PACK                      => __dbPack()
#command ZAP                       => __dbZap()
#command COMMIT                    => dbCommitAll()

#command CLOSE <a>                 => <a>->( dbCloseArea() )
#command CLOSE                     => dbCloseArea()
#command CLOSE ALL                 => dbCloseAll()
#command CLOSE DATABASES           => dbCloseAll()

/* The first index named becomes the controlling order: it is opened last. */
#command INDEX ON <key> TO <(file)> => dbCreateIndex( <(file)>, <"key"> )
#command SET INDEX TO [<(index1)> [, <(indexN)>]] => ;
         dbClearIndex() [; dbSetIndex( <(indexN)> )] [; dbSetIndex( <(index1)> )]
#command SET ORDER TO <n>          => dbSetOrder( <n> )
#command SET ORDER TO              => dbSetOrder( 0 )
#command SEEK <key> [<soft: SOFTSEEK>] => dbSeek( <key>, <.soft.> )

/* ---- settings (numbers of the run-time's settings table) ---- */
#define _SET_DATEFORMAT  4
#define _SET_EPOCH       5
#define _SET_DELETED    11
#define _SET_CENTURY    12

#command SET DATE FORMAT [TO] <f>  => Set( _SET_DATEFORMAT, <f> )
#command SET DATE [TO] AMERICAN    => Set( _SET_DATEFORMAT, "mm/dd/yy" )
#command SET DATE [TO] USA         => Set( _SET_DATEFORMAT, "mm-dd-yy" )
#command SET DATE [TO] ANSI        => Set( _SET_DATEFORMAT, "yy.mm.dd" )
#command SET DATE [TO] BRITISH     => Set( _SET_DATEFORMAT, "dd/mm/yy" )
#command SET DATE [TO] FRENCH      => Set( _SET_DATEFORMAT, "dd/mm/yy" )
#command SET DATE [TO] GERMAN      => Set( _SET_DATEFORMAT, "dd.mm.yy" )
#command SET DATE [TO] ITALIAN     => Set( _SET_DATEFORMAT, "dd-mm-yy" )
#command SET DATE [TO] JAPAN       => Set( _SET_DATEFORMAT, "yy/mm/dd" )
#command SET CENTURY ON            => __SetCentury( .T. )
#command SET CENTURY OFF           => __SetCentury( .F. )
#command SET CENTURY (<x>)         => __SetCentury( <x> )
#command SET EPOCH TO <n>          => Set( _SET_EPOCH, <n> )
#command SET DELETED ON            => Set( _SET_DELETED, .T. )
#command SET DELETED OFF           => Set( _SET_DELETED, .F. )
#command SET DELETED (<x>)         => Set( _SET_DELETED, <x> )

/* ---- usual xBase names of the array scan and sort: the language spells
   them ScanArray(array, value, start, last) and SortArray(array, start,
   last, ascending), with a last position where xBase passes a count ---- */
#xtranslate AScan( <a>, <v> )           => ScanArray( <a>, <v> )
#xtranslate AScan( <a>, <v>, <s> )      => ScanArray( <a>, <v>, <s> )
#xtranslate AScan( <a>, <v>, <s>, <n> ) => ScanArray( <a>, <v>, <s>, ( <s> ) + ( <n> ) - 1 )
#xtranslate ASort( <a> )                => SortArray( <a> )
#xtranslate ASort( <a>, <s> )           => SortArray( <a>, <s> )
#xtranslate ASort( <a>, <s>, <n> )      => SortArray( <a>, <s>, ( <s> ) + ( <n> ) - 1 )
#xtranslate ASort( <a>, , <n> )         => SortArray( <a>, , <n> )
/* The fourth argument is the order: .T. ascending, .F. descending. */
#xtranslate ASort( <a>, <s>, <n>, <o> ) => SortArray( <a>, <s>, ( <s> ) + ( <n> ) - 1, <o> )
#xtranslate ASort( <a>, , <n>, <o> )    => SortArray( <a>, , <n>, <o> )
#xtranslate ASort( <a>, <s>, , <o> )    => SortArray( <a>, <s>, , <o> )
#xtranslate ASort( <a>, , , <o> )       => SortArray( <a>, , , <o> )

/* ---- dialogs (docs/ui.md): each command becomes a built-in dialog call;
   ID <v> keeps the control's id in a variable. A VALID condition becomes
   the field's validation block, and the variables it names are bound to
   the field (SetVldParam), so that the block sees the caller's locals ---- */
#xcommand DEFINE DIALOG <w> TITLE <t> AT <r>, <c> SIZE <h>, <wd> => ;
          <w> := DlgCreate( <r>, <c>, <t>, <h>, <wd>, .T. )
#xcommand DEFINE DIALOG <w> TITLE <t> => <w> := DlgCreate( 0, 0, <t>, 160, 160, .T. )
#xcommand ACTIVATE DIALOG <w>      => DlgActivate( <w> )
#xcommand CLOSE DIALOG             => CloseDialog()

#xcommand @ <r>, <c> SAY <x> [PICTURE <p>] OF <w> [ID <id>] => ;
          [<id> := ] Say( <w>, <r>, <c>, <x>, <p> )
#xcommand @ <r>, <c> GET <v> [PICTURE <p>] [<ro: READONLY>] [<pw: PASSWORD>] OF <w> [ID <id>] => ;
          [<id> := ] Get( <w>, <r>, <c>, @<v>, <p>, , , , !<.ro.>, , <.pw.> )
#xcommand @ <r>, <c> GET <v> [PICTURE <p>] VALID <cond> [<ro: READONLY>] [<pw: PASSWORD>] OF <w> => ;
          SetVldParam( Get( <w>, <r>, <c>, @<v>, <p>, {|| <cond> }, , , !<.ro.>, , <.pw.> ), 2, {|x| <cond> } )
#xcommand @ <r>, <c> GET <v> [PICTURE <p>] VALID <cond> [<ro: READONLY>] [<pw: PASSWORD>] OF <w> ID <id> => ;
          <id> := Get( <w>, <r>, <c>, @<v>, <p>, {|| <cond> }, , , !<.ro.>, , <.pw.> ) ; ;
          SetVldParam( <id>, 2, {|x| <cond> } )
#xcommand @ <r>, <c> BUTTON <cap> [ACTION <act>] [SIZE <wd>, <h>] OF <w> [ID <id>] => ;
          [<id> := ] Button( <w>, <r>, <c>, <cap>, [{|| <act> }], [<wd>], [<h>] )
#xcommand @ <r>, <c> CHECKBOX <v> PROMPT <cap> [ACTION <act>] OF <w> [ID <id>] => ;
          [<id> := ] CheckBox( <w>, <r>, <c>, <cap>, [{|| <act> }], , , , @<v> )
#xcommand @ <r>, <c> LISTBOX <v> ITEMS <a> [ACTION <act>] [SIZE <wd>, <h>] OF <w> [ID <id>] => ;
          [<id> := ] ListBox( <w>, <r>, <c>, <a>, @<v>, [{|| <act> }], [<wd>], [<h>] )
#xcommand @ <r>, <c> COMBOBOX <v> ITEMS <a> [ACTION <act>] [SIZE <wd>, <h>] OF <w> [ID <id>] => ;
          [<id> := ] ComboBox( <w>, <r>, <c>, <a>, @<v>, [{|| <act> }], [<wd>], [<h>] )
#xcommand @ <r>, <c> FOLDER <f> PAGES <a> [ACTION <act>] OF <w> => ;
          <f> := NewFolder( <w>, <r>, <c>, <a>, [{|| <act> }] )
#xcommand SET FOLDER <f> PAGE <n>  => SetFolder( <f>, <n> )
#xcommand @ <r>, <c> METER <m> [TOTAL <t>] [SIZE <wd>, <h>] OF <w> => ;
          <m> := Meter( <w>, <r>, <c>, [<wd>], [<h>], [<t>] )
#xcommand MENU <m> CAPTION <cap> [ACTION <act>] OF <w> => ;
          <m> := AddMenuBar( <w>, <cap>, [{|| <act> }] )
#xcommand MENUITEM <cap> ACTION <act> OF <m> [ID <id>] => ;
          [<id> := ] AddMenuItem( <m>, <cap>, {|| <act> } )

#endif
