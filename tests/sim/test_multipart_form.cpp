#include "buyersim/multipart_form.h"

#include <gtest/gtest.h>

using namespace buyersim;

namespace {

const QByteArray boundary = "--------062620103045123";

// A part exactly as the supplier's program writes it.
QByteArray part(const QByteArray &name, const QByteArray &value)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name
        + "\"\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 8bit\r\n\r\n" + value + "\r\n";
}

QByteArray closing()
{
    return "--" + boundary + "--\r\n";
}

} // namespace

TEST(MultipartForm, BoundaryComesFromTheContentType)
{
    EXPECT_EQ(formBoundary("multipart/form-data; boundary=" + boundary), boundary);
    EXPECT_EQ(formBoundary("Multipart/Form-Data; charset=x; Boundary=\"a;b c\""), QByteArray("a;b c"));
    EXPECT_EQ(formBoundary("text/html"), QByteArray());
    EXPECT_EQ(formBoundary("multipart/form-data"), QByteArray());
}

TEST(MultipartForm, ReadsTheFieldsAsSent)
{
    const QByteArray body
        = part("items1", "A|B|\xE7") + part("items2", "") + part("items3", "x\r\n-- y") + closing();
    const FormParse form = parseForm(body, boundary);
    ASSERT_TRUE(form.ok()) << form.problem.toStdString();
    ASSERT_EQ(form.fields.size(), 3);
    EXPECT_EQ(form.fields.at(0).name, "items1");
    EXPECT_EQ(form.fields.at(0).value, QByteArray("A|B|\xE7"));
    EXPECT_EQ(form.fields.at(1).value, QByteArray());
    EXPECT_EQ(form.fields.at(2).value, QByteArray("x\r\n-- y"));
}

TEST(MultipartForm, EmptyBodyIsAFormWithoutFields)
{
    const FormParse form = parseForm({}, {});
    EXPECT_TRUE(form.ok());
    EXPECT_TRUE(form.fields.isEmpty());
}

TEST(MultipartForm, BrokenBodiesAreRefused)
{
    const QByteArray whole = part("items1", "v") + closing();
    struct Case {
        const char *what;
        QByteArray body;
        QByteArray boundary;
    };
    const Case cases[] = {
        { "no boundary in the content type", whole, {} },
        { "another boundary", whole, "other" },
        { "no closing delimiter", part("items1", "v"), boundary },
        { "cut inside a part", whole.left(whole.indexOf("\r\n\r\n") + 2), boundary },
        { "part without a name", "--" + boundary + "\r\nContent-Type: text/plain\r\n\r\nv\r\n" + closing(),
            boundary },
    };
    for (const Case &c : cases) {
        const FormParse form = parseForm(c.body, c.boundary);
        EXPECT_FALSE(form.ok()) << c.what;
        EXPECT_TRUE(form.fields.isEmpty()) << c.what;
    }
}
