#pragma once

#include "statements/StatementShapes.h"

#include <QList>
#include <QStringView>
#include <QVariant>

#include <optional>

namespace server {

// A client statement recognised by the firewall, with its values in slot order:
// qlonglong for {level} and {id}, QString for {text} (quotes undoubled), QDate for {date}.
struct MatchedStatement
{
    const StatementShape *shape = nullptr;
    QVariantList values;
};

// Accepts exactly the statement shapes the client sends and extracts their values; the server
// then runs its own parameterised statements. Client text is never executed as SQL.
class StatementFirewall final
{
public:
    StatementFirewall();
    std::optional<MatchedStatement> match(QStringView sql) const;

private:
    enum class PieceType { Fixed, Integer, Text, Date };
    struct Piece
    {
        PieceType type;
        QString fixed;
    };
    struct CompiledShape
    {
        const StatementShape *shape;
        QList<Piece> pieces;
    };

    static std::optional<MatchedStatement> matchShape(const CompiledShape &compiled,
                                                      QStringView sql);
    QList<CompiledShape> m_shapes;
};

} // namespace server
