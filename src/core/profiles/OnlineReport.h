#pragma once

#include "core/profiles/ProfileFields.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace tarvelo {

// What the online check of one profile found: whether the PAD URL serves the
// same program and version as the local file, and how each address answered.
struct OnlineReport
{
    enum class PadOutcome {
        Same,
        Differs,     // see differences
        Unreachable, // see padReason
        NotChecked,  // the check was cancelled first
    };

    struct Difference
    {
        QString field; // "program name" or "version"
        QString local;
        QString online;
    };

    enum class AddressOutcome {
        NotWebAddress, // empty, or a scheme other than http and https: never asked
        Answered,      // the server gave an HTTP status
        Failed,        // no HTTP status: see error
        NotChecked,    // the check was cancelled first
    };

    struct Address
    {
        Field field = Field::ProgURL;
        QString address; // as written in the file
        AddressOutcome outcome = AddressOutcome::NotChecked;
        QUrl finalUrl;     // after the redirects
        int redirects = 0; // redirects followed to reach finalUrl
        int status = 0;    // HTTP status when answered
        QString reason;    // HTTP reason phrase when answered
        QString error;     // network error text when failed
    };

    PadOutcome padOutcome = PadOutcome::NotChecked;
    QList<Difference> differences;
    QString padReason; // HTTP status, network error text or "not a PAD file"
    QList<Address> addresses;
    bool cancelled = false;

    // One line per result, for the window.
    QStringList lines() const;
};

// The name of an address field in the report's text ("Download URL"...).
QString addressFieldName(Field field);

} // namespace tarvelo
