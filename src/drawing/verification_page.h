#pragma once

#include <QString>

#include "verification.h"

// The verification record as an A4 document: the build and the machine, every study and
// figure (published, computed, difference, allowed, the verdict), the summary line, and
// room for the verifier's name and signature. As many pages as the figures need.
namespace VerificationPage {

QString html(const Verification::Record& record);
bool writePdf(const Verification::Record& record, const QString& path, QString* error);

}  // namespace VerificationPage
