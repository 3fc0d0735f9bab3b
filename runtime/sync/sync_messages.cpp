// The sync message table. ORDER SYNC_MESSAGES: rows 0 to 117, one row per
// index, Portuguese, English and Spanish. Rows 9 to 28 label the sync
// window's dialogs, 32 to 59 and 61 to 68 report the offline apply's table
// work, 90 to 106 catalog, configuration and server errors, 108 to 111 trace
// record moves.
#include "sync_messages.h"

#include "arguments.h"
#include "core.h"
#include "zeltanet.h"

namespace sync {

namespace {

struct Row {
  const char* text[3];
};

// clang-format off
const Row kMessages[kSyncMessageCount] = {
    /*   0 */ {{"VaskoSync", "VaskoSync", "VaskoSync"}},
    /*   1 */ {{"Vasko Synchronizer", "Vasko Synchronizer", "Vasko Synchronizer"}},
    /*   2 */ {{"Histórico", "History", "Historial"}},
    /*   3 */ {{"Opções", "Options", "Opciones"}},
    /*   4 */ {{"Enviados", "Records Sent", "Enviados"}},
    /*   5 */ {{"Configurações", "Configurations", "Configuraciones"}},
    /*   6 */ {{"Sobre", "About", "Acerca de"}},
    /*   7 */ {{"Sair", "Exit", "Salir"}},
    /*   8 */ {{"Iniciar", "Start", "Iniciar"}},
    /*   9 */ {{"Configurações de conexão", "Connection settings", "Configuración de conexión"}},
    /*  10 */ {{"Servidor", "Server", "Servidor"}},
    /*  11 */ {{"Usuário", "User", "Usuario"}},
    /*  12 */ {{"Tipo de dispositivo", "Device type", "Tipo de dispositivo"}},
    /*  13 */ {{"Identificação do dispositivo", "Device ID", "Identificación del dispositivo"}},
    /*  14 */ {{"Porta", "Port", "Puerto"}},
    /*  15 */ {{"Time-out (s)", "Time-out (s)", "Time-out (s)"}},
    /*  16 */ {{"Gravar", "Save", "Grabar"}},
    /*  17 */ {{"Cancelar", "Cancel", "Cancelar"}},
    /*  18 */ {{"Configurações gravadas.", "Configurations saved.", "Configuración grabada."}},
    /*  19 */ {{"Não gravou as configurações.", "Configurations not saved.", "No grabó la configuración."}},
    /*  20 */ {{"Histórico de sincronismo", "Sync history", "Historial de sincronismo"}},
    /*  21 */ {{"Limpar", "Clear", "Limpiar"}},
    /*  22 */ {{"Fechar", "Close", "Cerrar"}},
    /*  23 */ {{"Histórico vazio.", "History is empty.", "Historial vacío."}},
    /*  24 */ {{"Registros enviados", "Records sent", "Registros enviados"}},
    /*  25 */ {{"Tabela", "Table", "Tabla"}},
    /*  26 */ {{"Registros", "Records", "Registros"}},
    /*  27 */ {{"Último sincronismo: %s", "Last sync: %s", "Último sincronismo: %s"}},
    /*  28 */ {{"Versão %s", "Version %s", "Versión %s"}},
    /*  29 */ {{"Não abriu Tabela de CONFIGURAÇÕES", "Configurations table not opened", "No abrió la tabla de CONFIGURACIONES"}},
    /*  30 */ {{"Falhou Open em ZEL_TBL.", "ZEL_TBL Open failed.", "Falló Open en ZEL_TBL."}},
    /*  31 */ {{"Falhou Open em ZEL_IND.", "ZEL_IND Open failed.", "Falló Open en ZEL_IND."}},
    /*  32 */ {{"Criando tabela %s", "Creating table %s", "Creando tabla %s"}},
    /*  33 */ {{"Tabela %s criada.", "Table %s created.", "Tabla %s creada."}},
    /*  34 */ {{"Falhou criação da tabela %s", "Table %s creation failed", "Falló la creación de la tabla %s"}},
    /*  35 */ {{"Recriando tabela %s", "Recreating table %s", "Recreando tabla %s"}},
    /*  36 */ {{"Estrutura da tabela %s alterada.", "Structure of table %s changed.", "Estructura de la tabla %s cambiada."}},
    /*  37 */ {{"Abrindo tabela %s", "Opening table %s", "Abriendo tabla %s"}},
    /*  38 */ {{"Falhou abertura da tabela %s", "Table %s open failed", "Falló la apertura de la tabla %s"}},
    /*  39 */ {{"Tabela %s sem estrutura no catálogo.", "Table %s has no structure in the catalog.", "Tabla %s sin estructura en el catálogo."}},
    /*  40 */ {{"Criando índice %s", "Creating index %s", "Creando índice %s"}},
    /*  41 */ {{"Falhou criação do índice %s", "Index %s creation failed", "Falló la creación del índice %s"}},
    /*  42 */ {{"Tabela %s sem índice.", "Table %s has no index.", "Tabla %s sin índice."}},
    /*  43 */ {{"Esvaziando tabela %s", "Emptying table %s", "Vaciando tabla %s"}},
    /*  44 */ {{"Excluindo tabela %s", "Deleting table %s", "Borrando tabla %s"}},
    /*  45 */ {{"Tabela %s excluída.", "Table %s deleted.", "Tabla %s borrada."}},
    /*  46 */ {{"Falhou exclusão da tabela %s", "Table %s deletion failed", "Falló el borrado de la tabla %s"}},
    /*  47 */ {{"Exclusão da tabela %s adiada: registros a enviar.", "Deletion of table %s postponed: records to send.", "Borrado de la tabla %s aplazado: registros por enviar."}},
    /*  48 */ {{"Lendo catálogo", "Reading catalog", "Leyendo catálogo"}},
    /*  49 */ {{"Catálogo lido: %d tabela(s).", "Catalog read: %d table(s).", "Catálogo leído: %d tabla(s)."}},
    /*  50 */ {{"Tabela %s não consta do catálogo.", "Table %s is not in the catalog.", "La tabla %s no consta en el catálogo."}},
    /*  51 */ {{"Arquivo de recepção %s aberto.", "Download file %s opened.", "Archivo de recepción %s abierto."}},
    /*  52 */ {{"Arquivo de recepção %s incompleto.", "Download file %s incomplete.", "Archivo de recepción %s incompleto."}},
    /*  53 */ {{"Arquivo de recepção %s danificado.", "Download file %s damaged.", "Archivo de recepción %s dañado."}},
    /*  54 */ {{"Aplicando %s", "Applying %s", "Aplicando %s"}},
    /*  55 */ {{"Tabela %s atualizada.", "Table %s updated.", "Tabla %s actualizada."}},
    /*  56 */ {{"Falhou atualização da tabela %s", "Table %s update failed", "Falló la actualización de la tabla %s"}},
    /*  57 */ {{"Reservando espaço para %ld registro(s)", "Reserving room for %ld record(s)", "Reservando espacio para %ld registro(s)"}},
    /*  58 */ {{"Organizando índices da tabela %s", "Sorting indexes of table %s", "Ordenando índices de la tabla %s"}},
    /*  59 */ {{"Tabela %s pronta.", "Table %s ready.", "Tabla %s lista."}},
    /*  60 */ {{"Master Table ou Master Index inexistente (5)!.", "Master Table or Master Index does not exist (5)!.", "Master Table o Master Index inexistente (5)!."}},
    /*  61 */ {{"Compactando tabela %s", "Packing table %s", "Compactando tabla %s"}},
    /*  62 */ {{"Tabela %s compactada.", "Table %s packed.", "Tabla %s compactada."}},
    /*  63 */ {{"Reindexando tabela %s", "Reindexing table %s", "Reindexando tabla %s"}},
    /*  64 */ {{"Tabela %s reindexada.", "Table %s reindexed.", "Tabla %s reindexada."}},
    /*  65 */ {{"Campo %s inexistente na tabela %s", "Field %s does not exist in table %s", "Campo %s inexistente en la tabla %s"}},
    /*  66 */ {{"Tipo do campo %s inválido: %s", "Invalid type of field %s: %s", "Tipo del campo %s inválido: %s"}},
    /*  67 */ {{"Registro com tamanho inválido na tabela %s", "Record of invalid size in table %s", "Registro con tamaño inválido en la tabla %s"}},
    /*  68 */ {{"Chave não encontrada na tabela %s", "Key not found in table %s", "Clave no encontrada en la tabla %s"}},
    /*  69 */ {{"Falha de alocação para arquivo temporário tam=%ld", "Allocation failed to temporary file tam=%ld", "Falla de asignación para archivo temporal tam=%ld"}},
    /*  70 */ {{"Fim Organizando Tabela ", "End processing table ", "Fin Organizando Tabla "}},
    /*  71 */ {{"%s: %u registro(s) upload.", "%s: %u records(s) upload.", "%s: %u registro(s) upload."}},
    /*  72 */ {{"%s: %u registro(s) upload.", "%s: %u records(s) upload.", "%s: %u registro(s) upload."}},
    /*  73 */ {{"Erro abrindo tabela ZEL_BRW", "Error opening table ZEL_BRW", "Error abriendo tabla ZEL_BRW"}},
    /*  74 */ {{"Início  BatchUpload", "Start BatchUpload", "Inicio  BatchUpload"}},
    /*  75 */ {{"Master Table sem Index", "No index to Master Table", "Master Table sin Index"}},
    /*  76 */ {{"Fim  BatchUpload", "End BatchUpload", "Fin  BatchUpload"}},
    /*  77 */ {{"Organizando Arquivos", "Processing files", "Organizando Archivos"}},
    /*  78 */ {{"Verificando transmissão parcial.", "Checking partial transmission.", "Verificando transmisión parcial."}},
    /*  79 */ {{"Comunicando com o servidor", "Communicating with server        ", "Comunicando con el servidor"}},
    /*  80 */ {{"Analisando Integridade", "Checking integrity", "Analizando Integridad"}},
    /*  81 */ {{"Atualização offline", "Updating offline", "Actualización offline"}},
    /*  82 */ {{"Erro atualizando atributo Dirty", "Error updating Dirty flag", "Error actualizando atributo Dirty"}},
    /*  83 */ {{"Atualização offline de tabelas ", "Updating offline tables", "Actualización offline de tablas "}},
    /*  84 */ {{"Início: %s - ", "Start: %s - ", "Inicio: %s - "}},
    /*  85 */ {{"Iniciando", "Starting", "Iniciando"}},
    /*  86 */ {{"Tempos:    Online: %s ", "Times:    Online: %s ", "Tiempos:    Online: %s "}},
    /*  87 */ {{"   Offline: %s ", "   Offline: %s ", "   Offline: %s "}},
    /*  88 */ {{"Sincronismo finalizado", "End Sync", "Sincronismo finalizado"}},
    /*  89 */ {{"Fim: %s - %s ", "End: %s - %s ", "Fin: %s - %s "}},
    /*  90 */ {{"Catálogo vazio.", "Catalog is empty.", "Catálogo vacío."}},
    /*  91 */ {{"Falhou Open em ZEL_COLS.", "ZEL_COLS Open failed.", "Falló Open en ZEL_COLS."}},
    /*  92 */ {{"Catálogo sem colunas para a tabela %s.", "Catalog without columns for table %s.", "Catálogo sin columnas para la tabla %s."}},
    /*  93 */ {{"Catálogo sem índices para a tabela %s.", "Catalog without indexes for table %s.", "Catálogo sin índices para la tabla %s."}},
    /*  94 */ {{"Configuração incompleta: informe servidor e porta.", "Incomplete configuration: give server and port.", "Configuración incompleta: informe servidor y puerto."}},
    /*  95 */ {{"Porta inválida: %s", "Invalid port: %s", "Puerto inválido: %s"}},
    /*  96 */ {{"Time-out inválido: %s", "Invalid time-out: %s", "Time-out inválido: %s"}},
    /*  97 */ {{"Servidor não respondeu.", "Server did not answer.", "El servidor no respondió."}},
    /*  98 */ {{"Servidor recusou a tarefa %d.", "Server refused task %d.", "El servidor rechazó la tarea %d."}},
    /*  99 */ {{"Erro do servidor: %s", "Server error: %s", "Error del servidor: %s"}},
    /* 100 */ {{"Sessão interrompida.", "Session interrupted.", "Sesión interrumpida."}},
    /* 101 */ {{"Sem tarefas.", "No tasks.", "Sin tareas."}},
    /* 102 */ {{"%d tarefa(s) recebida(s).", "%d task(s) received.", "%d tarea(s) recibida(s)."}},
    /* 103 */ {{"Erro abrindo tabela ZEL_BRW", "Error opening table ZEL_BRW", "Error abriendo tabla ZEL_BRW"}},
    /* 104 */ {{"Falhou criação do catálogo.", "Catalog creation failed.", "Falló la creación del catálogo."}},
    /* 105 */ {{"Sincronismo já em andamento.", "Sync already running.", "Sincronismo ya en curso."}},
    /* 106 */ {{"Falha de memória.", "Out of memory.", "Falta de memoria."}},
    /* 107 */ {{"Erro abrindo tabela TOHOST", "Error opening table TOHOST", "Error abriendo tabla TOHOST"}},
    /* 108 */ {{"Registro %ld inserido em %s", "Record %ld inserted into %s", "Registro %ld insertado en %s"}},
    /* 109 */ {{"Registro %ld atualizado em %s", "Record %ld updated in %s", "Registro %ld actualizado en %s"}},
    /* 110 */ {{"Registro %ld excluído de %s", "Record %ld deleted from %s", "Registro %ld borrado de %s"}},
    /* 111 */ {{"Registro %ld enviado de %s", "Record %ld sent from %s", "Registro %ld enviado de %s"}},
    /* 112 */ {{"Favor Instalar a Zlib", "Please, Install Zlib", "Favor Instalar la Zlib"}},
    /* 113 */ {{"Rovane não encontrado. Atualização remota indisponível.", "Rovane not found. Remote update is not possible.", "Rovane no encontrado. Actualización remota no disponible."}},
    /* 114 */ {{"Existem registros marcados para envio na tabela %s. Tabela não atualizada.", "There are records with dirty flag in table %s. Table not updated.", "Existen registros marcados para envío en la tabla %s. Tabla no actualizada."}},
    /* 115 */ {{"Erro de conexão(%d). Tente novamente!", "Connection Error(%d). Try again!", "Error de conexión(%d). ¡Intente nuevamente!"}},
    /* 116 */ {{"Ocorreram erros na comunicação. Deseja fazer nova conexão ?", "Communication errors. Do you want reconnect ?", "Ocurrieron errores en la comunicación. ¿Desea hacer nueva conexión ?"}},
    /* 117 */ {{"Reconectar", "Reconnect", "Reconectar"}},
};
// clang-format on

}  // namespace

const char* syncMessage(int n) {
  if (n < 0 || n >= kSyncMessageCount) return "";
  const int language = core::errorLanguage();
  return kMessages[n].text[language >= 1 && language <= 3 ? language - 1 : 0];
}

}  // namespace sync

pObj_Node __GetSyncMsg(pObj_Node index) {
  const long n = core::checkWhole(index);
  return core::newText(sync::syncMessage(n > 1000 ? -1 : static_cast<int>(n)));
}
