# Review dialogs, the opening of a document from the inbox, the shell's page
# server and its printer.
rm640_prueba(prueba_revision
  FUENTES review/PruebaRevision.cpp review/PruebaImpresion.cpp
  BIBLIOTECAS rm640_pruebas_comun)
