// The terms of use and of distribution shown on the about dialog.
#include "viewer/FormAbout.h"

namespace tolv {

std::vector<std::string> TermsOfUse() {
  return {
      "Tol-Vane DVB ist Cardware.",
      "",
      "Sie dürfen das Programm kostenlos benutzen, so lange Sie möchten.",
      "Wenn es Ihnen gefällt, schicken Sie uns bitte eine Postkarte",
      "aus Ihrem Wohnort an die Anschrift auf unserer Webseite.",
      "Über jede Karte freuen wir uns, und sie zeigt uns, dass sich",
      "die Arbeit an dem Programm lohnt.",
      "",
      "Das Programm wird so überlassen, wie es ist. Wir haben es",
      "sorgfältig geprüft, können aber nicht zusichern, dass es",
      "fehlerfrei arbeitet oder für einen bestimmten Zweck taugt.",
      "Für Schäden, die aus der Benutzung entstehen, übernehmen wir",
      "keine Haftung, soweit das Gesetz dies zulässt.",
      "",
      "Die Rechte an Programm und Schriften bleiben bei der",
      "Tolvane-Werkstatt.",
  };
}

std::vector<std::string> TermsOfDistribution() {
  return {
      "Sie dürfen Tol-Vane DVB unverändert an andere weitergeben,",
      "solange alle Dateien des Pakets beisammen bleiben.",
      "",
      "Für die Weitergabe darf kein Geld verlangt werden; erlaubt",
      "ist nur der Ersatz der Kosten für Datenträger und Versand.",
      "",
      "Zeitschriften und Webseiten dürfen das Programm auf ihren",
      "Heft-CDs oder zum Herunterladen anbieten, wenn sie uns",
      "vorher kurz per E-Mail Bescheid geben.",
      "",
      "Veränderte Fassungen dürfen nicht weitergegeben werden.",
  };
}

}  // namespace tolv
