-- The course database: seven question banks and the two tables of stored results.
-- Portable SQL: double-quoted identifiers, standard types. The question tables are read by column
-- position: 0 "id", 1 "argomento", 2-11 the statements "dom1"..."dom10", 12-21 their answer codes
-- "ris1"..."ris10" (1 true, 0 false). The constraints refuse a page the program could not show.

CREATE TABLE "domande1" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "domande2" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "domande3" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "domande4" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "domande5" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "domande6" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

CREATE TABLE "sommativo" (
  "id" INTEGER PRIMARY KEY,
  "argomento" VARCHAR(200) NOT NULL CHECK (TRIM("argomento") <> ''),
  "dom1" VARCHAR(400) NOT NULL CHECK (TRIM("dom1") <> ''),
  "dom2" VARCHAR(400) NOT NULL CHECK (TRIM("dom2") <> ''),
  "dom3" VARCHAR(400) NOT NULL CHECK (TRIM("dom3") <> ''),
  "dom4" VARCHAR(400) NOT NULL CHECK (TRIM("dom4") <> ''),
  "dom5" VARCHAR(400) NOT NULL CHECK (TRIM("dom5") <> ''),
  "dom6" VARCHAR(400) NOT NULL CHECK (TRIM("dom6") <> ''),
  "dom7" VARCHAR(400) NOT NULL CHECK (TRIM("dom7") <> ''),
  "dom8" VARCHAR(400) NOT NULL CHECK (TRIM("dom8") <> ''),
  "dom9" VARCHAR(400) NOT NULL CHECK (TRIM("dom9") <> ''),
  "dom10" VARCHAR(400) NOT NULL CHECK (TRIM("dom10") <> ''),
  "ris1" INTEGER NOT NULL CHECK ("ris1" IN (0, 1)),
  "ris2" INTEGER NOT NULL CHECK ("ris2" IN (0, 1)),
  "ris3" INTEGER NOT NULL CHECK ("ris3" IN (0, 1)),
  "ris4" INTEGER NOT NULL CHECK ("ris4" IN (0, 1)),
  "ris5" INTEGER NOT NULL CHECK ("ris5" IN (0, 1)),
  "ris6" INTEGER NOT NULL CHECK ("ris6" IN (0, 1)),
  "ris7" INTEGER NOT NULL CHECK ("ris7" IN (0, 1)),
  "ris8" INTEGER NOT NULL CHECK ("ris8" IN (0, 1)),
  "ris9" INTEGER NOT NULL CHECK ("ris9" IN (0, 1)),
  "ris10" INTEGER NOT NULL CHECK ("ris10" IN (0, 1))
);

-- Results of the questionnaires, the image tests and the synthesis test. "data" is the day the row
-- was added, filled by the table.
CREATE TABLE "studenti" (
  "cognome e nome" VARCHAR(1000) NOT NULL,
  "argomento" VARCHAR(400) NOT NULL,
  "punteggio" INTEGER NOT NULL,
  "maxpunti" INTEGER NOT NULL,
  "data" DATE NOT NULL DEFAULT CURRENT_DATE
);

-- Results of the summative tests, percentages as whole numbers. "conscere" is the knowledge column's
-- historical name.
CREATE TABLE "studsomm" (
  "cognome e nome" VARCHAR(1000) NOT NULL,
  "punteggio totale" INTEGER NOT NULL CHECK ("punteggio totale" BETWEEN 0 AND 100),
  "conscere" INTEGER NOT NULL CHECK ("conscere" BETWEEN 0 AND 100),
  "comprendere" INTEGER NOT NULL CHECK ("comprendere" BETWEEN 0 AND 100),
  "applicare" INTEGER NOT NULL CHECK ("applicare" BETWEEN 0 AND 100),
  "valutazione" VARCHAR(40) NOT NULL,
  "data" DATE NOT NULL DEFAULT CURRENT_DATE
);

CREATE INDEX "studenti_nome" ON "studenti" ("cognome e nome");
CREATE INDEX "studsomm_nome" ON "studsomm" ("cognome e nome");
