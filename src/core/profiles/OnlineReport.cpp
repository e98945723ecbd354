#include "core/profiles/OnlineReport.h"

namespace tarvelo {

namespace {

QString padLine(const OnlineReport &report)
{
    switch (report.padOutcome) {
    case OnlineReport::PadOutcome::Same:
        return QStringLiteral("PAD URL: same program and version");
    case OnlineReport::PadOutcome::Differs: {
        QStringList parts;
        for (const auto &d : report.differences)
            parts << QStringLiteral("%1 (local %2, online %3)").arg(d.field, d.local, d.online);
        return QStringLiteral("PAD URL: differs: ") + parts.join(QStringLiteral("; "));
    }
    case OnlineReport::PadOutcome::Unreachable:
        return QStringLiteral("PAD URL: cannot be reached: ") + report.padReason;
    case OnlineReport::PadOutcome::NotChecked:
        break;
    }
    return QStringLiteral("PAD URL: not checked");
}

QString answer(const OnlineReport::Address &row)
{
    switch (row.outcome) {
    case OnlineReport::AddressOutcome::NotWebAddress:
        return QStringLiteral("not a web address");
    case OnlineReport::AddressOutcome::Answered: {
        QString text = QStringLiteral("%1 %2").arg(row.status).arg(row.reason).trimmed();
        if (row.redirects > 0)
            text += QStringLiteral(" (redirected %1x to %2)")
                        .arg(row.redirects)
                        .arg(row.finalUrl.toDisplayString());
        return text;
    }
    case OnlineReport::AddressOutcome::Failed:
        return row.error;
    case OnlineReport::AddressOutcome::NotChecked:
        break;
    }
    return QStringLiteral("not checked");
}

} // namespace

QString addressFieldName(Field field)
{
    switch (field) {
    case Field::ProgURL:
        return QStringLiteral("Download URL");
    case Field::SecURL:
        return QStringLiteral("Second download URL");
    case Field::SShotURL:
        return QStringLiteral("Screenshot URL");
    case Field::ProgIcon:
        return QStringLiteral("Icon URL");
    default:
        return fieldSpec(field).spokenName;
    }
}

QStringList OnlineReport::lines() const
{
    QStringList out{padLine(*this)};
    for (const auto &row : addresses) {
        const QString where = row.address.isEmpty() ? QStringLiteral("(empty)") : row.address;
        out << QStringLiteral("%1 %2: %3").arg(addressFieldName(row.field), where, answer(row));
    }
    if (cancelled)
        out << QStringLiteral("Cancelled");
    return out;
}

} // namespace tarvelo
