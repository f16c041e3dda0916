# The AIAG study of the verification record, written for the tests from the one place that
# holds its values (data/verification/reference_studies.json): the fixture database
# aiag_10x3x3.sql (the AIAG analysis, then the small study of small_5x2x2.sql) and the
# header aiag_values.h with the values as kAiag[appraiser][trial][part].

function(kalmet_aiag_fixture json small out_dir)
  file(READ ${json} text)
  string(JSON study GET "${text}" studies 0)
  string(JSON appraisers GET "${study}" appraisers)
  string(JSON coRef GET "${study}" coRef)
  set(sql "-- The AIAG study of 10 parts, 3 appraisers and 3 trials (analysis AIAG), values as\n")
  string(APPEND sql "-- published, the total variation as the reference. Written by the build.\n")
  string(APPEND sql "INSERT INTO Analiza (Numer, LiczbaN, LiczbaK, LiczbaR, Data, Temperatura, "
         "Wilgotnosc, NazwaC, NumerC, Parametr, Jednostka, WN, GWG, DWG, CoRef, NazwaP, NumerP, "
         "ZakresP, BladP, NazwaT, Setings) VALUES ('AIAG', 10, 3, 3, '2026-12-09', '20', '45', "
         "'Wałek', 'AIAG-MSA', 'Wymiar', 'mm', 1.33, 3.0, -3.0, ${coRef}, 'Czujnik', 'C-1', "
         "'-5-5 mm', '0,01 mm', 'Brak', '');\n")
  set(header "// Written by the build from data/verification/reference_studies.json.\n#pragma once\n\n")
  string(APPEND header "// The AIAG 10 x 3 x 3 study: per appraiser, three trials of parts 1..10.\n")
  string(APPEND header "const double kAiag[3][3][10] = {\n")
  string(JSON appraiserCount LENGTH "${appraisers}")
  math(EXPR lastAppraiser "${appraiserCount} - 1")
  foreach(a RANGE ${lastAppraiser})
    string(JSON name GET "${appraisers}" ${a} name)
    string(JSON trials GET "${appraisers}" ${a} trials)
    string(JSON trialCount LENGTH "${trials}")
    math(EXPR lastTrial "${trialCount} - 1")
    string(APPEND header "    {")
    foreach(t RANGE ${lastTrial})
      string(JSON row GET "${trials}" ${t})
      string(REGEX REPLACE "[][ \n]" "" row "${row}")
      string(REPLACE "," ", " values "${row}")
      string(REPLACE "," "+" sum "${row}")
      string(APPEND sql "INSERT INTO DanePom (ID, Operator, P1, P2, P3, P4, P5, P6, P7, P8, P9, "
             "P10, ObX) VALUES ('AIAG', '${name}', ${values}, (${sum}) / 10.0);\n")
      string(APPEND header "{${values}},")
    endforeach()
    string(APPEND header "},\n")
  endforeach()
  string(APPEND header "};\n")
  file(READ ${small} smallText)
  file(WRITE ${out_dir}/aiag_10x3x3.sql "${sql}${smallText}")
  file(WRITE ${out_dir}/aiag_values.h "${header}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${json} ${small})
endfunction()
