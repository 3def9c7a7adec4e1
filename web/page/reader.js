// The web reader's page: every view is named by the address's query, so that it
// can be bookmarked and shared, and drawn from the JSON API (/api/...). Text
// from the books and from the address goes into the page as text only
// (textContent), never as markup.
'use strict';

const state = { library: null, tocs: new Map() };

// ---- small helpers -------------------------------------------------------

function el(tag, attrs, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attrs || {})) {
    if (name === 'text') node.textContent = value;
    else if (name === 'class') node.className = value;
    else node.setAttribute(name, value);
  }
  for (const child of children) {
    if (child !== null && child !== undefined) node.append(child);
  }
  return node;
}

// An address of this page with `params` as its query.
function href(params) {
  const query = new URLSearchParams();
  for (const [name, value] of Object.entries(params)) {
    if (value !== undefined && value !== null && value !== '') query.set(name, value);
  }
  const text = query.toString();
  return text ? '/?' + text : '/';
}

function link(params, text, attrs) {
  return el('a', Object.assign({ href: href(params), text }, attrs || {}));
}

async function api(name, params) {
  const query = new URLSearchParams();
  for (const [key, value] of Object.entries(params || {})) {
    if (value !== undefined && value !== null && value !== '') query.set(key, value);
  }
  const response = await fetch('/api/' + name + (query.toString() ? '?' + query : ''));
  const body = await response.json();
  if (!response.ok) throw new Error(body.error || response.statusText);
  return body;
}

function main() { return document.getElementById('main'); }

function show(...nodes) {
  const target = main();
  target.replaceChildren(...nodes);
}

function failure(error) {
  return el('p', { class: 'error', role: 'alert', text: error.message });
}

function bibles() { return state.library.books.filter((b) => b.kind === 'Bible'); }
function bookInfo(name) { return state.library.books.find((b) => b.name === name); }

// The words of a text as the concordance numbers them: runs of letters, marks
// and digits (apostrophes and hyphens part words). [start, end) of each.
function wordSpans(text) {
  const spans = [];
  for (const match of text.matchAll(/[\p{L}\p{M}\p{N}]+/gu)) {
    spans.push([match.index, match.index + match[0].length]);
  }
  return spans;
}

// `text` with the words numbered in `positions` (from 1) in <mark>; or, given
// `words` instead (folded, as a search's answer lists them), each word that is one.
function highlighted(text, positions, words) {
  const wanted = new Set(positions);
  const folded = new Set(words || []);
  const out = el('span', { class: 'text' });
  let at = 0;
  wordSpans(text).forEach(([start, end], index) => {
    const marked = words ? folded.has(fold(text.slice(start, end))) : wanted.has(index + 1);
    if (!marked) return;
    out.append(text.slice(at, start), el('mark', { text: text.slice(start, end) }));
    at = end;
  });
  out.append(text.slice(at));
  return out;
}

// `text` with the Strong's numbers of its words after each run they tag, each
// number a link that opens its entry in the panel.
function withNumbers(text, words) {
  const out = el('span', { class: 'text' });
  let at = 0;  // written up to here
  let seek = 0;  // the words found up to here
  words.forEach((word, index) => {
    const start = text.indexOf(word.word, seek);
    if (start < 0) return;
    const end = start + word.word.length;
    seek = end;
    const next = words[index + 1];
    const numbers = word.strongs.filter((n) => !(next && next.strongs.includes(n)));
    if (numbers.length === 0) return;
    out.append(text.slice(at, end));
    for (const number of numbers) {
      out.append(el('a', { href: href({ strongs: number }), class: 'strongs', 'data-number': number, text: number }));
    }
    at = end;
  });
  out.append(text.slice(at));
  return out;
}

// A word as the concordance keeps it: lower case, without accents.
function fold(word) {
  return word.normalize('NFD').replace(/\p{M}/gu, '').toLowerCase();
}

function passageText(passage, strongs) {
  return strongs && passage.words ? withNumbers(passage.text, passage.words) : el('span', { class: 'text', text: passage.text });
}

// ---- chapters: previous and next ------------------------------------------

async function toc(book, path) {
  const key = book + '\u0000' + (path || '');
  if (!state.tocs.has(key)) state.tocs.set(key, api('toc', { book, path }));
  return state.tocs.get(key);
}

// The chapters before and after the one `reference` ("John 3", "John 3:16")
// names in `bible`: [previous, next], each a reference or null.
// A book of one chapter is read by its name alone ("Jude").
async function neighbours(bible, reference) {
  const match = /^(.*\S)\s+(\d+)(?::\S*)?$/.exec(reference);
  const books = (await toc(bible)).sections;
  const name = match ? match[1] : reference;
  const index = books.findIndex((b) => b.name === name);
  if (index < 0 || (!match && books[index].sections !== 1)) return [null, null];
  const chapter = match ? Number(match[2]) : 1;
  const chapters = books[index].sections;
  let previous = null;
  let next = null;
  if (chapter > 1) previous = name + ' ' + (chapter - 1);
  else if (index > 0) previous = books[index - 1].name + ' ' + books[index - 1].sections;
  if (chapter < chapters) next = name + ' ' + (chapter + 1);
  else if (index + 1 < books.length) next = books[index + 1].name + ' 1';
  return [previous, next];
}

// The links to the previous and next chapters: above the text (`top`), and below
// it, where they carry the ids that the arrow keys follow.
function chapterNav(params, previous, next, top) {
  const nav = el('nav', { class: top ? 'chapters top' : 'chapters', 'aria-label': top ? 'Chapters, above' : 'Chapters' });
  const attributes = (id, rel) => (top ? { rel } : { id, rel });
  nav.append(previous ? link(Object.assign({}, params, { read: previous }), '← ' + previous, attributes('previous', 'prev'))
                      : el('span'));
  nav.append(next ? link(Object.assign({}, params, { read: next }), next + ' →', attributes('next', 'next')) : el('span'));
  return nav;
}

function viewSwitch(params, parallel) {
  const box = el('p', { class: 'switch' });
  box.append(parallel ? link({ read: params.read, book: bibles()[0].name, strongs: params.strongs }, 'One Bible', { id: 'single' })
                      : link({ read: params.read, strongs: params.strongs }, 'Parallel view', { id: 'parallel' }));
  box.append(' · ');
  const strongs = params.strongs === '1';
  box.append(link(Object.assign({}, params, { strongs: strongs ? '' : '1' }),
                  strongs ? "Hide Strong's numbers" : "Strong's numbers", { id: 'toggle-strongs' }));
  return box;
}

// ---- views -----------------------------------------------------------------

async function viewHome() {
  const list = el('ul', { class: 'books' });
  for (const book of state.library.books) {
    list.append(el('li', {}, link({ book: book.name }, book.title || book.name),
                   el('span', { class: 'kind', text: ' ' + book.kind + ', ' + book.languages.map((l) => l.name).join(', ') })));
  }
  const today = el('section', { id: 'today' }, el('h2', { text: "Today's reading" }));
  show(el('h1', { text: 'Library' }), list, today);
  try {
    const answer = await api('sync', { key: 'today' });
    for (const { book, answer: entry } of answer.books) {
      today.append(el('p', { class: 'kind', text: bookInfo(book).title + ', ' + entry.name }));
      const links = el('p');
      entry.references.filter((r) => r.type === 'verse').forEach((r, i) => {
        if (i > 0) links.append('; ');
        links.append(link({ read: r.shown }, r.shown));
      });
      today.append(links);
    }
  } catch (error) {
    today.append(el('p', { class: 'kind', text: 'No reading plan has today.' }));
  }
}

// The view of an entry `name` of a book that is no Bible.
function entryTarget(book, name) {
  if (book.kind === 'lexicon') return { strongs: name };
  if (book.kind === 'topical index' || book.kind === 'glossary') return { topic: name };
  return { book: book.name, sync: name };
}

async function viewContents(params) {
  const book = bookInfo(params.book);
  if (!book) throw new Error('The library has no book "' + params.book + '".');
  const answer = await toc(book.name, params.path);
  const list = el('ul', { class: book.kind === 'Bible' && params.path ? 'numbers' : 'contents' });
  for (const entry of answer.sections) {
    const path = params.path ? params.path + '\\' + entry.name : entry.name;
    let target;
    if (entry.sections > 0 && !(book.kind === 'Bible' && params.path)) target = { book: book.name, path };
    else if (book.kind === 'Bible') target = { book: book.name, read: params.path + ' ' + entry.name };
    else target = entryTarget(book, entry.name);
    list.append(el('li', {}, link(target, entry.name)));
  }
  const heading = params.path ? params.path.split('\\').join(' ') : book.title || book.name;
  show(el('p', { class: 'crumbs' }, link({}, 'Library'), params.path ? ' › ' : '',
          params.path ? link({ book: book.name }, book.title || book.name) : ''),
       el('h1', { text: heading }), list);
}

async function viewRead(params) {
  const strongs = params.strongs === '1';
  if (!params.book) return viewParallel(params);
  const reading = await api('read', { book: params.book, ref: params.read, strongs: strongs ? '1' : '' });
  const title = reading.references.map((r) => r.reference).join('; ');
  const body = el('div', { class: 'reading' });
  for (const passage of reading.passages) {
    for (const line of passage.above || []) body.append(el('p', { class: 'title', text: line }));
    const verse = /(?::|^)(\d+)$/.exec(passage.reference);
    body.append(el('p', { class: 'verse', id: 'v' + (verse ? verse[1] : passage.key) },
                   el('span', { class: 'number', text: verse ? verse[1] : passage.reference }), ' ',
                   passageText(passage, strongs)));
    for (const line of passage.below || []) body.append(el('p', { class: 'title', text: line }));
  }
  const [previous, next] = await neighbours(params.book, reading.references[0].reference);
  const book = bookInfo(params.book);
  show(el('p', { class: 'crumbs' }, link({}, 'Library'), ' › ', link({ book: params.book }, book.title || book.name)),
       el('h1', { text: title }), viewSwitch(params, false), chapterNav(params, previous, next, true), body,
       chapterNav(params, previous, next));
}

async function viewParallel(params) {
  const strongs = params.strongs === '1';
  const reading = await api('read', { ref: params.read, strongs: strongs ? '1' : '' });
  const table = el('div', { class: 'parallel' });
  table.style.setProperty('--columns', reading.bibles.length);
  const head = el('div', { class: 'row head' }, el('span'));
  for (const bible of reading.bibles) head.append(el('span', { text: bookInfo(bible).title || bible }));
  table.append(head);
  for (const verse of reading.verses) {
    const row = el('div', { class: 'row' });
    const number = /:(\d+)$/.exec(verse.reference);
    row.append(el('span', { class: 'number', text: number ? number[1] : verse.reference }));
    for (const bible of reading.bibles) {
      const text = verse.texts.find((t) => t.bible === bible);
      const cell = el('span', { class: 'cell', 'data-bible': bookInfo(bible).abbreviation || bible });
      if (text) cell.append(passageText(text.passage, strongs));
      row.append(cell);
    }
    table.append(row);
  }
  const first = reading.verses.length ? reading.verses[0].reference : params.read;
  const [previous, next] = await neighbours(reading.bibles[0], first);
  show(el('p', { class: 'crumbs' }, link({}, 'Library')), el('h1', { text: params.read }),
       viewSwitch(params, true), chapterNav({ read: params.read, strongs: params.strongs }, previous, next, true), table,
       chapterNav({ read: params.read, strongs: params.strongs }, previous, next));
}

async function viewFind(params) {
  const bookName = params.book || bibles()[0].name;
  // An address may hold any offset: one that is no number reads the first page.
  const offset = Math.min(Math.max(Math.floor(Number(params.offset)) || 0, 0), 1000000);
  const limit = 50;
  const book = bookInfo(bookName);
  const bible = book.kind === 'Bible';
  const found = await api('find', { book: bookName, q: params.find, mode: params.mode, offset, limit });
  const list = el('ol', { class: 'hits', start: String(offset + 1) });
  // A Bible's hit is its verse; another book's, its entry as shown (its text
  // holds references as markup), the found words marked wherever they stand.
  const texts = await Promise.all(found.references.map((reference) => (bible
    ? api('read', { book: bookName, ref: reference }).then((r) => r.passages[0].text)
    : api('sync', { book: bookName, key: reference }).then((e) => e.paragraphs.join(' '))).catch(() => null)));
  const words = bible ? null : found.words.flat();
  found.references.forEach((reference, i) => {
    // A phrase's hit is where its first word stands: mark all its words.
    const width = params.mode === 'phrase' ? found.terms.length : 1;
    const positions = found.hits[i].positions.flat().flatMap((p) => Array.from({ length: width }, (_, k) => p + k));
    const target = bible ? { book: bookName, read: reference.replace(/:\d+$/, '') } : entryTarget(book, reference);
    list.append(el('li', {}, link(target, reference, { class: 'reference' }),
                   ' ', texts[i] !== null ? highlighted(texts[i], positions, words) : ''));
  });
  const shownTo = offset + found.references.length;
  const noun = (n) => n + (bible ? (n === 1 ? ' verse' : ' verses') : (n === 1 ? ' entry' : ' entries'));
  const summary = found.count === 0 ? (bible ? 'No verse holds it.' : 'No entry holds it.')
    : offset >= found.count ? noun(found.count) + '; this page is past the last'
    : noun(found.count) + (found.count > limit ? ', ' + (offset + 1) + '–' + shownTo : '');
  const pages = el('nav', { class: 'chapters', 'aria-label': 'Pages' });
  const page = (from) => Object.assign({}, params, { book: bookName, offset: from > 0 ? String(from) : '' });
  pages.append(offset > 0 ? link(page(Math.max(0, offset - limit)), '← earlier', { id: 'earlier' }) : el('span'));
  pages.append(shownTo < found.count ? link(page(shownTo), 'later →', { id: 'later' }) : el('span'));
  const mode = params.mode === 'phrase' ? 'the phrase' : params.mode === 'prefix' ? 'words beginning' : '';
  show(el('h1', {}, 'Search ', mode ? mode + ' ' : '', el('q', { text: params.find }), ' in ' + (book.title || bookName)),
       el('p', { class: 'count', id: 'count', text: summary }), list, pages);
}

// A lexicon entry (an answer of /api/strongs) as nodes.
function lexiconEntry(entry) {
  const box = el('div', { class: 'entry' });
  const [headword, transliteration, pronunciation, ...rest] = entry.paragraphs;
  box.append(el('p', { class: 'headword' }, el('strong', { text: entry.name + ' ' }),
                el('span', { lang: 'und', text: headword || '' }), ' ',
                el('em', { text: transliteration || '' }), ' ', el('span', { text: pronunciation || '' })));
  for (const paragraph of rest) box.append(el('p', { text: paragraph }));
  return box;
}

async function viewStrongs(params) {
  const study = await api('strongs', { number: params.strongs, limit: 10 });
  const nodes = [el('p', { class: 'crumbs' }, link({}, 'Library')), el('h1', { text: "Strong's " + study.number })];
  for (const { entry } of study.entries) nodes.push(lexiconEntry(entry));
  for (const bible of study.bibles) {
    nodes.push(el('h2', { text: bookInfo(bible.book).title || bible.book }));
    nodes.push(el('p', { class: 'kind', text: 'Translated: ' + bible.translations.map((t) => t.words + ' ' + t.count).join('; ') }));
    const list = el('ul', { class: 'hits' });
    for (const verse of bible.verses) {
      const positions = [];
      verse.words.forEach((w, i) => { if (w.strongs.some((n) => n.toUpperCase() === study.number.toUpperCase())) positions.push(i + 1); });
      list.append(el('li', {}, link({ book: bible.book, read: verse.reference.replace(/:\d+$/, '') }, verse.reference, { class: 'reference' }),
                     ' ', highlighted(verse.text, positions)));
    }
    nodes.push(el('p', { class: 'count', text: bible.count + ' verses' + (bible.count > bible.verses.length ? ', the first ' + bible.verses.length + ':' : ':') }), list);
  }
  show(...nodes);
}

async function viewTopic(params) {
  const answer = await api('topic', { topic: params.topic, limit: 50 });
  const nodes = [el('p', { class: 'crumbs' }, link({}, 'Library'))];
  for (const topic of answer.topics) {
    nodes.push(el('h1', { text: topic.entry.name }), el('p', { class: 'kind', text: bookInfo(topic.book).title || topic.book }));
    for (const paragraph of topic.entry.paragraphs) nodes.push(el('p', { text: paragraph }));
    const list = el('ul', { class: 'hits' });
    for (const read of topic.read) {
      for (const passage of read.passages) {
        list.append(el('li', {}, link({ book: topic.bible, read: passage.reference.replace(/:\d+$/, '') }, passage.reference, { class: 'reference' }),
                       ' ', el('span', { class: 'text', text: passage.text })));
      }
    }
    if (topic.bible) nodes.push(el('h2', { text: 'Its verses in ' + (bookInfo(topic.bible).title || topic.bible) }), list);
  }
  show(...nodes);
}

async function viewSync(params) {
  const answer = await api('sync', { book: params.book, key: params.sync });
  const nodes = [el('p', { class: 'crumbs' }, link({}, 'Library'), ' › ', link({ book: params.book }, bookInfo(params.book).title)),
                 el('h1', { text: answer.name || answer.query })];
  for (const paragraph of answer.paragraphs || []) nodes.push(el('p', { text: paragraph }));
  const links = el('p');
  (answer.references || []).filter((r) => r.type === 'verse').forEach((r, i) => {
    if (i > 0) links.append('; ');
    links.append(link({ read: r.shown }, r.shown));
  });
  nodes.push(links);
  show(...nodes);
}

// ---- the Strong's panel ----------------------------------------------------

async function openPanel(number) {
  const panel = document.getElementById('panel');
  const body = document.getElementById('panel-body');
  body.replaceChildren(el('p', { text: number + ' …' }));
  panel.hidden = false;
  try {
    const study = await api('strongs', { number, limit: 1 });
    body.replaceChildren(el('h2', { text: "Strong's " + study.number }));
    for (const { entry } of study.entries) body.append(lexiconEntry(entry));
    for (const bible of study.bibles.slice(0, 1)) {
      body.append(el('p', { class: 'kind', text: 'In ' + bible.book + ': ' + bible.translations.slice(0, 6).map((t) => t.words).join(', ') }));
    }
    body.append(el('p', {}, link({ strongs: study.number }, 'Every Bible, with its verses', { id: 'panel-study' })));
  } catch (error) {
    body.replaceChildren(failure(error));
  }
  document.getElementById('panel-close').focus();
}

function closePanel() {
  document.getElementById('panel').hidden = true;
}

// ---- routing ---------------------------------------------------------------

function currentParams() {
  return Object.fromEntries(new URLSearchParams(location.search));
}

async function render() {
  const params = currentParams();
  closePanel();
  document.getElementById('go-ref').value = params.read || '';
  document.getElementById('search-q').value = params.find || '';
  document.getElementById('search-mode').value = params.mode || 'all';
  try {
    if (!state.library) state.library = await api('info');
    fillBooks();
    if (params.book && bookInfo(params.book)) document.getElementById('search-book').value = params.book;
    if (params.find) await viewFind(params);
    else if (params.read) await viewRead(params);
    else if (params.strongs) await viewStrongs(params);
    else if (params.topic) await viewTopic(params);
    else if (params.sync && params.book) await viewSync(params);
    else if (params.book) await viewContents(params);
    else await viewHome();
    const heading = main().querySelector('h1');
    document.title = (heading ? heading.textContent + ' · ' : '') + 'ORVA reader';
  } catch (error) {
    show(el('p', { class: 'crumbs' }, link({}, 'Library')), failure(error));
  }
  document.body.dataset.ready = location.search;
}

function fillBooks() {
  const select = document.getElementById('search-book');
  if (select.options.length) return;
  for (const book of state.library.books.filter((b) => b.kind === 'Bible' || b.kind === 'topical index')) {
    select.append(el('option', { value: book.name, text: book.abbreviation || book.name }));
  }
}

function navigate(url) {
  if (url === location.pathname + location.search) return;
  history.pushState(null, '', url);
  render().then(() => main().focus({ preventScroll: true }));
  window.scrollTo(0, 0);
}

document.addEventListener('click', (event) => {
  const anchor = event.target.closest('a');
  if (!anchor || event.button !== 0 || event.ctrlKey || event.metaKey || event.shiftKey || event.altKey) return;
  const url = new URL(anchor.href, location.href);
  if (url.origin !== location.origin || url.pathname !== '/') return;
  event.preventDefault();
  if (anchor.classList.contains('strongs')) openPanel(anchor.dataset.number);
  else navigate(url.pathname + url.search);
});

for (const id of ['go', 'search']) {
  document.getElementById(id).addEventListener('submit', (event) => {
    event.preventDefault();
    const data = Object.fromEntries(new FormData(event.target));
    if (id === 'go') navigate(href({ read: data.read.trim(), book: currentParams().book }));
    else if (data.find.trim()) navigate(href({ find: data.find.trim(), mode: data.mode === 'all' ? '' : data.mode, book: data.book }));
  });
}

document.getElementById('panel-close').addEventListener('click', closePanel);

document.addEventListener('keydown', (event) => {
  const typing = /^(INPUT|SELECT|TEXTAREA)$/.test(document.activeElement.tagName);
  if (event.key === 'Escape') return closePanel();
  if (typing || event.ctrlKey || event.metaKey || event.altKey) return;
  const go = (id) => { const a = document.getElementById(id); if (a) navigate(new URL(a.href).search ? '/' + new URL(a.href).search : '/'); };
  if (event.key === 'ArrowLeft') go('previous');
  else if (event.key === 'ArrowRight') go('next');
  else if (event.key === 'p') go(document.getElementById('parallel') ? 'parallel' : 'single');
  else if (event.key === '/') {
    event.preventDefault();
    document.getElementById('search-q').focus();
  }
});

window.addEventListener('popstate', render);
render();
