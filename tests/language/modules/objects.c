/* Objects end to end: hand-written type descriptors, lists, zombies, handles, text. */
#include "language.h"

/* Thing: int, float, string. Node: int, Node. Holder: vector of 3 strings, Node. */
__asm__(
    ".data\n.balign 4\n"
    "Thing: .long 5\n"
    "  .long 0, Thing+4, Thing+4, 0, -1\n"
    "  .long 0, Thing+24, Thing+24, 0, -1\n"
    "  .long 3, __tbIntType, __tbFltType, __tbStrType\n"
    "Node: .long 5\n"
    "  .long 0, Node+4, Node+4, 0, -1\n"
    "  .long 0, Node+24, Node+24, 0, -1\n"
    "  .long 2, __tbIntType, Node\n"
    "Strings3: .long 6, 3, __tbStrType\n"
    "Holder: .long 5\n"
    "  .long 0, Holder+4, Holder+4, 0, -1\n"
    "  .long 0, Holder+24, Holder+24, 0, -1\n"
    "  .long 2, Strings3, Node\n"
    ".text\n");
extern tbObjType Thing, Node, Holder;

static tbObject* newThing(int32_t value) {
    tbObject* thing = __tbObjNew(&Thing);
    FIELDS(thing)[0] = (uint32_t)value;
    return thing;
}

static void logOrder(const char* label) {
    tbString* text = S(label);
    for (tbObject* o = __tbObjFirst(&Thing); o; o = __tbObjNext(o))
        text = __tbStrConcat(__tbStrConcat(text, S(" ")), __tbStrFromInt((int32_t)FIELDS(o)[0]));
    _fdebuglog(text);
}

static void listsAndInsert(void) {
    tbObject* a = newThing(1);
    tbObject* b = newThing(2);
    tbObject* c = newThing(3);
    logOrder("created:");
    __tbObjInsBefore(c, a);
    logOrder("3 before 1:");
    __tbObjInsAfter(c, b);
    logOrder("3 after 2:");
    __tbObjInsBefore(b, b);
    __tbObjInsAfter(b, b);
    logOrder("2 before itself:");
    logInt("last=", (int32_t)FIELDS(__tbObjLast(&Thing))[0]);
    logInt("before last=", (int32_t)FIELDS(__tbObjPrev(c))[0]);
    logInt("none before first=", __tbObjPrev(a) == 0);
    __tbObjDeleteEach(&Thing);
    logInt("first after DeleteEach is null=", __tbObjFirst(&Thing) == 0);
}

static void handles(void) {
    tbObject* a = newThing(1);
    tbObject* b = newThing(2);
    int32_t ha = __tbObjToHandle(a);
    logInt("handle twice same=", __tbObjToHandle(a) == ha);
    int32_t hb = __tbObjToHandle(b);
    logInt("next handle larger=", hb > ha);
    logInt("object of handle=", __tbObjFromHandle(ha, &Thing) == a);
    logInt("other type gives null=", __tbObjFromHandle(ha, &Node) == 0);
    logInt("unknown handle gives null=", __tbObjFromHandle(hb + 100, &Thing) == 0);
    __tbObjDelete(a);
    logInt("after Delete null=", __tbObjFromHandle(ha, &Thing) == 0);
    logInt("deleted has handle 0=", __tbObjToHandle(a));
    logInt("null has handle 0=", __tbObjToHandle(0));
    tbObject* c = newThing(3);
    logInt("new object's handle above all=", __tbObjToHandle(c) > hb);
    __tbObjDeleteEach(&Thing);
}

static void zombies(void) {
    uint32_t variable = 0;
    tbObject* a = newThing(1);
    tbObject* b = newThing(2);
    tbObject* c = newThing(3);
    __tbObjStore(&variable, b);
    __tbObjDelete(b);
    logInt("deleted equals Null=", __tbObjCompare(AS_OBJECT(variable), 0) == 0);
    logInt("live differs from Null=", __tbObjCompare(a, 0));
    logInt("next from zombie=", (int32_t)FIELDS(__tbObjNext(AS_OBJECT(variable)))[0]);
    logInt("prev from zombie=", (int32_t)FIELDS(__tbObjPrev(AS_OBJECT(variable)))[0]);
    logOrder("walk skips zombie:");
    _fruntimestats();
    __tbObjStore(&variable, 0);
    _fruntimestats();
    __tbObjDelete(b);  /* already deleted: nothing */
    __tbObjDelete(0);
    __tbObjDelete(a);
    __tbObjDelete(c);
}

static void deleteInsideForEach(void) {
    uint32_t variable = 0;
    int32_t visited = 0;
    for (int32_t i = 0; i < 5; ++i) newThing(i);
    for (int32_t more = __tbObjEachFirst(&variable, &Thing); more; more = __tbObjEachNext(&variable)) {
        ++visited;
        __tbObjDelete(AS_OBJECT(variable));
    }
    logInt("for-each deleting all visited=", visited);
    logInt("loop variable ends null=", variable == 0);
    logInt("none left=", __tbObjFirst(&Thing) == 0);
    /* Deleting the next object from inside the loop skips it. */
    tbObject* first = newThing(10);
    newThing(11);
    newThing(12);
    tbString* seen = S("counted walk deleting the next:");
    for (int32_t more = __tbObjEachFirst(&variable, &Thing); more; more = __tbObjEachNext(&variable)) {
        seen = __tbStrConcat(__tbStrConcat(seen, S(" ")), __tbStrFromInt((int32_t)FIELDS(AS_OBJECT(variable))[0]));
        if (AS_OBJECT(variable) == first) __tbObjDelete(__tbObjNext(first));
    }
    _fdebuglog(seen);
    seen = S("uncounted walk:");
    for (int32_t more = __tbObjEachFirst2(&variable, &Thing); more; more = __tbObjEachNext2(&variable))
        seen = __tbStrConcat(__tbStrConcat(seen, S(" ")), __tbStrFromInt((int32_t)FIELDS(AS_OBJECT(variable))[0]));
    _fdebuglog(seen);
    __tbObjDeleteEach(&Thing);
    _fruntimestats();
}

static void objectText(void) {
    tbObject* thing = newThing(7);
    FIELDS(thing)[1] = 0x3F000000; /* 0.5 */
    logObject("unassigned string field: ", thing);
    storeString(&FIELDS(thing)[2], S("a"));
    logObject("fields: ", thing);

    tbObject* self = __tbObjNew(&Node);
    FIELDS(self)[0] = 7;
    __tbObjStore(&FIELDS(self)[1], self);
    logObject("self: ", self);

    tbObject* head = __tbObjNew(&Node);
    tbObject* link = head;
    for (int32_t i = 1; i <= 9; ++i) {
        FIELDS(link)[0] = (uint32_t)i;
        if (i < 9) {
            tbObject* next = __tbObjNew(&Node);
            __tbObjStore(&FIELDS(link)[1], next);
            link = next;
        }
    }
    logObject("nine deep: ", head);
    __tbObjDelete(link);
    logObject("deleted at the end: ", head);
    logObject("null: ", 0);

    tbObject* holder = __tbObjNew(&Holder);
    uint32_t* vector = WORDS(FIELDS(holder)[0]);
    logInt("vector storage zeroed=", vector != 0 && vector[0] == 0 && vector[2] == 0);
    storeString(&vector[0], S("x"));
    storeString(&vector[2], S("y"));
    logObject("vector field: ", holder);
    __tbObjDeleteEach(&Thing);
    __tbObjDeleteEach(&Node);
    __tbObjDeleteEach(&Holder);
    _fruntimestats();
}

void __MAIN(void) {
    if (__tbStrCompare(_fcommandline(), S("null")) == 0) {
        logText("null object");
        __tbNullObjEx();
    }
    if (__tbStrCompare(_fcommandline(), S("next of null")) == 0) __tbObjNext(0);
    uint32_t none = 0;
    logInt("each next from null=", __tbObjEachNext(&none));
    listsAndInsert();
    handles();
    zombies();
    deleteInsideForEach();
    objectText();
}
