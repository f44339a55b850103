# Runs the test that writes to the system's event log under Wine, with
# Wine's traces of the event log on, and checks what ReportEvent received:
# Wine prints each call's type, category, event id and string count, then
# each insertion string, errors as "err:" and warnings as "warn:".
#   cmake -DWINE=wine -DPROGRAMA=qmx_testes.exe -P ConfereEventosWine.cmake
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env WINEDEBUG=-all,fixme+advapi,warn+eventlog,err+eventlog
          ${WINE} ${PROGRAMA} --gtest_filter=LogEventosSistema.*
  OUTPUT_VARIABLE saida ERROR_VARIABLE erros RESULT_VARIABLE resultado)
if(NOT resultado EQUAL 0)
  message(FATAL_ERROR "the test failed (${resultado}):\n${saida}\n${erros}")
endif()

function(exige trecho)
  string(FIND "${erros}" "${trecho}" onde)
  if(onde EQUAL -1)
    message(FATAL_ERROR "not in Wine's event-log output: ${trecho}\n--- output:\n${erros}")
  endif()
endfunction()

# The test's own entry: a warning, event id 7, two strings.
exige([[,0x0002,0x0000,0x00000007,0000000000000000,0x0002,0x00000000,]])
exige([[warn:eventlog:ReportEventW L"aviso de teste"]])
exige([[warn:eventlog:ReportEventW L"linha 1\nlinha 2"]])
# The activation of a class nobody registered: an error whose event id is
# the result, the message, then the detail in the system's own letters.
exige([[,0x0001,0x0000,0x80040154,0000000000000000,0x0002,0x00000000,]])
exige([[err:eventlog:ReportEventW L"\n\nErro instanciando servidor"]])
exige([[err:eventlog:ReportEventW L"\nHR: 0x80040154 (Classe n\00e3o registrada)\nCLSID: {5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A71}\nPrograma: ]])
exige([[\\qmx_testes.exe\n"]])
