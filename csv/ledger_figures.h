#pragma once

#include "calc/ledger/book.h"
#include "calc/ledger/ledger_declaration.h"

#include <QByteArrayView>

#include <charconv>

// A row's output figures as the ledger writes them: whole numbers plainly, a price per
// 10,000 units with two decimals when it has a fraction of a yen (four if finer).
class FigureText {
public:
    [[nodiscard]] QByteArrayView whole(Integer value)
    {
        const auto [end, error] = std::to_chars(buffer_, buffer_ + sizeof buffer_, value);
        (void)error; // an int64 always fits
        return QByteArrayView(buffer_, end - buffer_);
    }
    [[nodiscard]] QByteArrayView price(Currency value);

private:
    char buffer_[32];
};

// Hands `write` each output figure of a posted event but the message, in the order of
// ledger::kFigures; an empty view where the row shows none. A view is valid only
// during its call.
template <class Write>
void writeLedgerFigures(const ledger::Event& event, const ledger::Posted& posted, Write&& write)
{
    using namespace ledger;
    FigureText text;
    const bool held = touchesHolding(event.kind);
    const Holding& holding = posted.holding;
    for (const FigureDecl& figure : kFigures) {
        switch (figure.source) {
        case FigureSource::HeldUnits:
            write(held ? text.whole(holding.units) : QByteArrayView());
            break;
        case FigureSource::HeldPrincipal:
            write(!held || holding.units == 0 ? QByteArrayView() : text.price(holding.principal));
            break;
        case FigureSource::HeldCost:
            write(!held || holding.units == 0 ? QByteArrayView() : text.price(holding.cost));
            break;
        case FigureSource::EventFigure: {
            const std::optional<Integer>& value = posted.figures.*figure.figure;
            write(value ? text.whole(*value) : QByteArrayView());
            break;
        }
        case FigureSource::YearGain:
            write(posted.year ? text.whole(posted.year->gain) : QByteArrayView());
            break;
        case FigureSource::Message:
            break;
        }
    }
}

// The figures of a year-end settlement's row: its two taxes and the cash they make.
[[nodiscard]] ledger::Figures settlementFigures(const ledger::Settlement& settlement);

// Hands `write` each output figure of a settlement's row but the message, as
// writeLedgerFigures() does: no holding, no year.
template <class Write>
void writeSettlementFigures(const ledger::Settlement& settlement, Write&& write)
{
    using namespace ledger;
    FigureText text;
    const Figures figures = settlementFigures(settlement);
    for (const FigureDecl& figure : kFigures) {
        if (figure.source == FigureSource::EventFigure) {
            const std::optional<Integer>& value = figures.*figure.figure;
            write(value ? text.whole(*value) : QByteArrayView());
        } else if (figure.source != FigureSource::Message) {
            write(QByteArrayView());
        }
    }
}
